#include "platform/XdgFolders.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <string_view>
#include <unistd.h>

namespace XdgFolders
{

namespace
{

constexpr std::string_view VideosKey = "XDG_VIDEOS_DIR=";
constexpr std::string_view HomeVariable = "$HOME";
// user-dirs.dirs is a few lines; anything longer is not one.
constexpr std::streamsize MostUserDirsBytes = 64 * 1024;

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

std::string_view withoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

std::string Home()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return home;
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir[0] == '/' ? user->pw_dir : "/";
}

std::string ConfigHome(const std::string& home)
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/')
        return config;
    return (home == "/" ? "" : home) + "/.config";
}

std::string VideosFromUserDirs(const std::string& userDirs, const std::string& home)
{
    std::istringstream lines(userDirs);
    std::string found;
    for (std::string line; std::getline(lines, line);) {
        if (!startsWith(line, VideosKey))
            continue;
        const std::string_view value = withoutQuotes(std::string_view(line).substr(VideosKey.size()));
        if (startsWith(value, HomeVariable) &&
            (value.size() == HomeVariable.size() || value[HomeVariable.size()] == '/'))
            found = home + std::string(value.substr(HomeVariable.size()));
        else if (startsWith(value, "/"))
            found = value;
    }
    return found;
}

std::string Videos(const std::string& home, const std::string& configHome)
{
    std::ifstream file(configHome + "/user-dirs.dirs");
    std::string text(MostUserDirsBytes, '\0');
    file.read(text.data(), MostUserDirsBytes);
    text.resize(static_cast<std::size_t>(file.gcount()));
    const std::string folder = VideosFromUserDirs(text, home);
    return folder.empty() ? (home == "/" ? "" : home) + "/Videos" : folder;
}

} // namespace XdgFolders
