#include "tools/addfile/Playlist.h"

#include "tools/common/FilePaths.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace Playlist
{

namespace
{

constexpr mode_t PlaylistMode = 0644;

bool hasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

std::string percentEncoded(const std::string& path)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : path) {
        if (std::isalnum(c) || std::strchr("/-._~", c) != nullptr) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += Hex[c >> 4];
            encoded += Hex[c & 0xF];
        }
    }
    return encoded;
}

// The title shown for a file: its name without extension, on one line.
std::string titleOf(const std::string& path)
{
    std::string title = FilePaths::WithoutExtension(FilePaths::FileName(path));
    for (char& c : title)
        if (c == '\r' || c == '\n')
            c = ' ';
    return title;
}

std::string readAll(int fd)
{
    std::string text;
    std::array<char, 65536> buffer;
    off_t offset = 0;
    for (ssize_t count; (count = pread(fd, buffer.data(), buffer.size(), offset)) != 0;) {
        if (count < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        text.append(buffer.data(), static_cast<std::size_t>(count));
        offset += count;
    }
    return text;
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno != EINTR)
            return false;
        if (count > 0)
            done += static_cast<std::size_t>(count);
    }
    return true;
}

// What goes in front of a new entry: the header of a new playlist, or the line break an
// existing one lacks at its end.
std::string lead(const std::string& text)
{
    if (text.empty())
        return std::string(Header) + '\n';
    return text.back() == '\n' ? std::string() : std::string("\n");
}

} // namespace

std::string StripQuotes(const std::string& argument)
{
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
        return argument.substr(1, argument.size() - 2);
    return argument;
}

std::string Location(const std::string& absolutePath)
{
    return hasLineBreak(absolutePath) ? "file://" + percentEncoded(absolutePath) : absolutePath;
}

std::string Entry(const std::string& absolutePath, std::optional<double> seconds)
{
    // -1 is the format's "length unknown".
    const long length = seconds ? std::lround(*seconds) : -1;
    return "#EXTINF:" + std::to_string(length) + ',' + titleOf(absolutePath) + '\n' + Location(absolutePath) +
           '\n';
}

bool Lists(const std::string& playlistText, const std::string& location)
{
    std::istringstream lines(playlistText);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == location)
            return true;
    }
    return false;
}

std::string Append(const std::string& path, const std::string& location, const std::string& entry)
{
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, PlaylistMode);
    if (fd < 0)
        return path + ": " + std::strerror(errno);
    std::string problem;
    if (flock(fd, LOCK_EX) != 0) {
        problem = path + ": " + std::strerror(errno);
    } else {
        const std::string text = readAll(fd);
        if (!Lists(text, location) && !writeAll(fd, lead(text) + entry))
            problem = path + ": " + std::strerror(errno);
    }
    close(fd);
    return problem;
}

} // namespace Playlist
