#include "tools/ffmpeg-front/FfmpegLog.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace
{

constexpr std::array<std::string_view, 9> Levels{"quiet", "panic",   "fatal", "error", "warning",
                                                 "info",  "verbose", "debug", "trace"};
constexpr std::array<std::string_view, 3> PassedOnLevels{"panic", "fatal", "error"};
// How ffmpeg and the system put a failure to write; ffmpeg may still end successfully after one
// when it happens while the file is finished. Only error lines are read for them: a file name or
// a title may say anything.
constexpr std::string_view WritingSign = "Error writing";
constexpr std::array<std::string_view, 3> WriteFailureCauses{"No space left on device", "Disk quota exceeded",
                                                             "File too large"};

template <std::size_t N> bool isOneOf(const std::array<std::string_view, N>& list, std::string_view word)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

struct Tagged {
    std::string_view level; // empty when the line has no tag
    std::string text;       // the line without the tag
};

// The level tag comes after the contexts the message is about, each "[name @ 0x..] ".
Tagged splitLevel(std::string_view line)
{
    for (std::size_t at = 0; at < line.size() && line[at] == '[';) {
        const std::size_t close = line.find("] ", at);
        if (close == std::string_view::npos)
            break;
        const std::string_view name = line.substr(at + 1, close - at - 1);
        if (isOneOf(Levels, name))
            return {name, std::string(line.substr(0, at)).append(line.substr(close + 2))};
        at = close + 2;
    }
    return {{}, std::string(line)};
}

// The part after the last ": ", where the system's reason goes.
std::string causeOf(const std::string& text)
{
    const std::size_t colon = text.rfind(": ");
    return colon == std::string::npos ? text : text.substr(colon + 2);
}

// The message of a line without its tag, after the contexts it is about ("[mp4 @ 0x..] ").
std::string_view messageOf(std::string_view text)
{
    while (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find("] ");
        if (close == std::string_view::npos)
            break;
        text.remove_prefix(close + 2);
    }
    return text;
}

bool tellsOfWriteFailure(const std::string& text)
{
    return messageOf(text).substr(0, WritingSign.size()) == WritingSign ||
           isOneOf(WriteFailureCauses, causeOf(text));
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); !from.empty() && at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// One write where the system takes it all: ffmpeg writes to the same pipes, and a line of the
// front's must not be split by one of its.
void writeWhole(int fd, const std::string& text)
{
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count > 0)
            done += static_cast<std::size_t>(count);
        else if (count < 0 && errno != EINTR)
            return;
    }
}

} // namespace

FfmpegLog::FfmpegLog(int outputFd, int errorFd, std::string tempArgument, std::string targetArgument)
    : m_outputFd(outputFd), m_errorFd(errorFd), m_tempArgument(std::move(tempArgument)),
      m_targetArgument(std::move(targetArgument))
{
}

void FfmpegLog::Add(std::string_view bytes)
{
    m_rest.append(bytes);
    std::size_t start = 0;
    for (std::size_t end; (end = m_rest.find('\n', start)) != std::string::npos; start = end + 1)
        takeLine(std::string_view(m_rest).substr(start, end - start));
    m_rest.erase(0, start);
}

void FfmpegLog::Finish()
{
    takeLine(m_rest);
    m_rest.clear();
}

void FfmpegLog::takeLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.empty())
        return;
    const Tagged tagged = splitLevel(line);
    if (!tagged.level.empty())
        m_level = tagged.level;
    const bool error = isOneOf(PassedOnLevels, m_level);
    if (error && m_writeError.empty() && tellsOfWriteFailure(tagged.text))
        m_writeError = causeOf(tagged.text);
    if (error)
        passOn(tagged.text);
}

void FfmpegLog::AnnounceWriting(const std::string& path) const
{
    std::string line = "writing=";
    for (const char c : path) {
        if (c == '\\')
            line += "\\\\";
        else if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else
            line += c;
    }
    writeWhole(m_outputFd, line + '\n');
}

void FfmpegLog::Announce(const std::string& key, const std::string& value) const
{
    writeWhole(m_outputFd, key + '=' + value + '\n');
}

void FfmpegLog::passOn(std::string text) const
{
    replaceAll(text, m_tempArgument, m_targetArgument);
    writeWhole(m_errorFd, text + '\n');
}
