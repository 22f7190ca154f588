#pragma once

#include <functional>
#include <string>

// Path text helpers shared by the tools. The separator is "/".
namespace FilePaths
{

// `path` made absolute against the current folder and clean: "//" and "." dropped, ".." folded
// (lexically; nothing is resolved), so two spellings of one path compare equal.
std::string Absolute(const std::string& path);

// The part after the last "/".
std::string FileName(const std::string& path);

// The part before the last "/" ("." for a bare name, "/" for a name in the root).
std::string Folder(const std::string& path);

// `name` without the part from its last "." on.
std::string WithoutExtension(const std::string& name);

// The part of `name` from its last "." on; empty when it has none.
std::string Extension(const std::string& name);

// `path` as ffmpeg should receive it: a relative path gets the "file:" protocol, so a name such
// as "-x.avi" or "a:b.avi" is never read as an option or a protocol. Absolute paths are left as
// they are.
std::string FfmpegFileArgument(const std::string& path);

// Calls `visit` with the name of each entry of `folder` except "." and "..".
void ForEachEntry(const std::string& folder, const std::function<void(const std::string&)>& visit);

} // namespace FilePaths
