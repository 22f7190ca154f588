#include "tools/common/FilePaths.h"

#include <climits>
#include <dirent.h>
#include <filesystem>
#include <unistd.h>

namespace FilePaths
{

namespace
{
bool isAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

std::string currentFolder()
{
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string("/");
}
} // namespace

std::string Absolute(const std::string& path)
{
    const std::string absolute = isAbsolute(path) ? path : currentFolder() + '/' + path;
    std::string clean = std::filesystem::path(absolute).lexically_normal().string();
    if (clean.size() > 1 && clean.back() == '/')
        clean.pop_back();
    return clean;
}

std::string FileName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

std::string Folder(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string WithoutExtension(const std::string& name)
{
    return name.substr(0, name.rfind('.'));
}

std::string Extension(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

void ForEachEntry(const std::string& folder, const std::function<void(const std::string&)>& visit)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            visit(name);
    }
    closedir(dir);
}

std::string FfmpegFileArgument(const std::string& path)
{
    return isAbsolute(path) ? path : "file:" + path;
}

} // namespace FilePaths
