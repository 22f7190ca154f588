#pragma once

#include <string>

// The user's folders as the freedesktop.org conventions name them. Plain C++, so that Korumi and
// the registration tool find the same folders.
namespace XdgFolders
{

// $HOME when it is an absolute path, else the account's home folder, else the root.
std::string Home();

// $XDG_CONFIG_HOME when it is an absolute path, else `home`/.config.
std::string ConfigHome(const std::string& home);

// The folder that the XDG_VIDEOS_DIR line of a user-dirs.dirs text names ("$HOME/..." or an
// absolute path); empty when the text names none.
std::string VideosFromUserDirs(const std::string& userDirs, const std::string& home);

// The videos folder that `configHome`/user-dirs.dirs names, else `home`/Videos.
std::string Videos(const std::string& home, const std::string& configHome);

} // namespace XdgFolders
