#include "tools/ffmpeg-front/TempOutput.h"

#include "tools/common/ChildProcess.h"
#include "tools/common/FilePaths.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace TempOutput
{

namespace
{

constexpr const char* Marker = ".tmp-";

// The front that writes the temporary file `name`, when the name is one of PathFor's:
// "." + target + Marker + pid + the target's extension.
std::optional<pid_t> writerOf(const std::string& name)
{
    const std::size_t marker = name.rfind(Marker);
    if (name.empty() || name.front() != '.' || marker == std::string::npos || marker < 2)
        return std::nullopt;
    const char* digits = name.c_str() + marker + std::char_traits<char>::length(Marker);
    if (!std::isdigit(static_cast<unsigned char>(*digits)))
        return std::nullopt;
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    const std::string target = name.substr(1, marker - 1);
    if (pid <= 0 || FilePaths::Extension(target) != end)
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

} // namespace

std::string PathFor(const std::string& target, pid_t writer)
{
    const std::string name = FilePaths::FileName(target);
    return FilePaths::Folder(target) + "/." + name + Marker + std::to_string(writer) +
           FilePaths::Extension(name);
}

void RemoveOrphans(const std::string& target)
{
    const std::string folder = FilePaths::Folder(target);
    FilePaths::ForEachEntry(folder, [&](const std::string& name) {
        const std::optional<pid_t> writer = writerOf(name);
        if (writer && !ChildProcess::IsRunning(*writer))
            unlink((folder + '/' + name).c_str());
    });
}

std::string MoveOnto(const std::string& temp, const std::string& target)
{
    struct stat info = {};
    std::string why;
    if (stat(target.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
        why = "not a plain file";
    else if (rename(temp.c_str(), target.c_str()) != 0)
        why = std::strerror(errno);
    if (!why.empty())
        unlink(temp.c_str());
    return why;
}

} // namespace TempOutput
