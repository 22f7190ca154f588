#include "tools/ffmpeg-front/PassLog.h"

#include "tools/common/ChildProcess.h"
#include "tools/common/FilePaths.h"

#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace PassLog
{

namespace
{

constexpr std::uint64_t FnvOffset = 14695981039346656037ULL;
constexpr std::uint64_t FnvPrime = 1099511628211ULL;
constexpr mode_t PrivateMode = 0700;

// FNV-1a: stable across runs and builds, which std::hash does not promise.
std::uint64_t fingerprint(const std::string& text)
{
    std::uint64_t hash = FnvOffset;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= FnvPrime;
    }
    return hash;
}

constexpr std::size_t FingerprintDigits = 16;

// The run in a name Prefix() gave: the fingerprint, "-", the run's pid, "-".
std::optional<pid_t> runOf(const std::string& name)
{
    if (name.size() <= FingerprintDigits + 1 || name[FingerprintDigits] != '-' ||
        !std::isdigit(static_cast<unsigned char>(name[FingerprintDigits + 1])))
        return std::nullopt;
    char* end = nullptr;
    const long run = std::strtol(name.c_str() + FingerprintDigits + 1, &end, 10);
    return run > 0 && *end == '-' ? std::optional<pid_t>(static_cast<pid_t>(run)) : std::nullopt;
}

bool isAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

bool isStale(const std::string& path, const std::string& name, std::time_t now)
{
    const std::optional<pid_t> run = runOf(name);
    if (run && !ChildProcess::IsRunning(*run))
        return true;
    struct stat info = {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           now - info.st_mtime > StaleAfterSeconds;
}

} // namespace

std::string FolderPath(const char* runtimeDir, const char* cacheHome, const char* home,
                       const std::string& host)
{
    if (isAbsolute(runtimeDir))
        return std::string(runtimeDir) + "/korumi-passlog";
    const std::string cache = isAbsolute(cacheHome) ? std::string(cacheHome)
                              : isAbsolute(home)    ? std::string(home) + "/.cache"
                                                    : std::string();
    return cache.empty() ? cache : cache + "/korumi/passlog-" + host;
}

std::string HostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    return gethostname(name, sizeof name - 1) == 0 ? name : "";
}

std::string MakePrivate(const std::string& folder, uid_t user)
{
    // A cache folder may not be there yet; whatever is already there is left as it is.
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        mkdir(folder.substr(0, slash).c_str(), PrivateMode);
    if (mkdir(folder.c_str(), PrivateMode) != 0 && errno != EEXIST)
        return folder + ": " + std::strerror(errno);
    struct stat info = {};
    if (lstat(folder.c_str(), &info) != 0)
        return folder + ": " + std::strerror(errno);
    // Someone else's folder, or a link to one, would let others read or plant pass logs.
    if (!S_ISDIR(info.st_mode) || info.st_uid != user || (info.st_mode & 077) != 0)
        return folder + ": not a private folder of this user";
    return {};
}

std::string Prefix(const std::string& folder, const std::string& absoluteTarget, pid_t run)
{
    char name[FingerprintDigits + 1];
    std::snprintf(name, sizeof name, "%016" PRIx64, fingerprint(absoluteTarget));
    return folder + '/' + name + '-' + std::to_string(run);
}

std::string Companion(const std::string& prefix, const std::string& name)
{
    return prefix + '-' + name;
}

void Remove(const std::string& prefix)
{
    const std::string folder = FilePaths::Folder(prefix);
    const std::string start = FilePaths::FileName(prefix) + '-';
    FilePaths::ForEachEntry(folder, [&](const std::string& name) {
        if (name.compare(0, start.size(), start) == 0)
            unlink((folder + '/' + name).c_str());
    });
}

void RemoveStale(const std::string& folder, std::time_t now)
{
    FilePaths::ForEachEntry(folder, [&](const std::string& name) {
        const std::string path = folder + '/' + name;
        if (isStale(path, name, now))
            unlink(path.c_str());
    });
}

} // namespace PassLog
