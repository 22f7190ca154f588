#include "tools/common/CommandLog.h"

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace CommandLog
{

std::string ShellLine(const std::vector<std::string>& arguments)
{
    std::string line;
    for (const std::string& word : arguments) {
        if (!line.empty())
            line += ' ';
        line += '\'';
        for (const char c : word)
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line + '\n';
}

void Record(const std::vector<std::string>& arguments)
{
    const char* path = std::getenv("KORUMI_COMMAND_LOG");
    if (path == nullptr || *path == '\0')
        return;
    const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    // One write each, so that the lines of fronts running side by side never mix.
    const std::string line = ShellLine(arguments);
    [[maybe_unused]] const ssize_t written = write(fd, line.data(), line.size());
    close(fd);
}

} // namespace CommandLog
