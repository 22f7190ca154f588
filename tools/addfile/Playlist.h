#pragma once

#include <optional>
#include <string>

// The media library stand-in: an extended M3U playlist, "Korumi.m3u" in the user's videos folder.
namespace Playlist
{

constexpr const char* FileName = "Korumi.m3u";
constexpr const char* Header = "#EXTM3U";

// `argument` without one pair of surrounding double quotes (Korumi hands the path over quoted).
std::string StripQuotes(const std::string& argument);

// How an absolute path is written in the playlist: as it is, or as a file:// URI when it holds a
// line break, which the one-entry-per-line format could not carry.
std::string Location(const std::string& absolutePath);

// The playlist lines for one file: "#EXTINF:seconds,title" and its location.
std::string Entry(const std::string& absolutePath, std::optional<double> seconds);

// Whether the playlist text already lists `location`.
bool Lists(const std::string& playlistText, const std::string& location);

// Appends `entry` for `location` to the playlist at `path` unless it is listed already, creating
// the file with its header when missing. The file is locked meanwhile, so registrations running
// at the same time never interleave. Returns an empty text, or what went wrong.
std::string Append(const std::string& path, const std::string& location, const std::string& entry);

} // namespace Playlist
