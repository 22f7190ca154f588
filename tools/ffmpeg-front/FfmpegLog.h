#pragma once

#include <string>
#include <string_view>

// ffmpeg's error output at log level "level+info", read as it comes. Every line is tagged with
// its level ("[error] ...", "[mp4 @ 0x..] [error] ..."). The front passes the errors on without
// their tags, as ffmpeg at "-loglevel error" would write them; the rest is dropped. It notes
// errors writing the output, which ffmpeg does not always fail on.
class FfmpegLog
{
public:
    // The destinations of the front's announcements and of the errors. Mentions of `tempArgument`, where
    // ffmpeg writes, are passed on as `targetArgument`, the file the user asked for.
    FfmpegLog(int outputFd, int errorFd, std::string tempArgument, std::string targetArgument);

    // Writes "writing=<path>" to the standard output, the file ffmpeg writes before it is whole,
    // so a reader can show how it grows; "\" and line breaks in the path are escaped.
    void AnnounceWriting(const std::string& path) const;
    // Writes "<key>=<value>" to the standard output, for a reader that follows the encode.
    void Announce(const std::string& key, const std::string& value) const;

    // Takes the next piece of ffmpeg's error output.
    void Add(std::string_view bytes);
    // Takes a last line that did not end in a line break.
    void Finish();

    // Why writing the output failed ("No space left on device"); empty while it has not.
    const std::string& WriteError() const { return m_writeError; }

private:
    void takeLine(std::string_view line);
    void passOn(std::string text) const;

    int m_outputFd;
    int m_errorFd;
    std::string m_tempArgument;
    std::string m_targetArgument;
    std::string m_rest;
    std::string m_level = "error"; // a line without a tag continues the one before
    std::string m_writeError;
};
