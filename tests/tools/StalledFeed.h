#pragma once

#include <QProcess>
#include <QString>

// A source fed to ffmpeg through a named pipe, only in part: ffmpeg gets to work on it and then
// waits for the rest, which never comes while the feed lives.
class StalledFeed
{
public:
    // Creates the pipe `fifo` and starts feeding it the first `share` of the file `source`.
    StalledFeed(const QString& fifo, const QString& source, double share);
    ~StalledFeed();
    StalledFeed(const StalledFeed&) = delete;
    StalledFeed& operator=(const StalledFeed&) = delete;

    // Waits until the share is in the pipe, so that its reader has taken all but a pipe's worth;
    // false when the feed ended first (nobody read it).
    bool WaitUntilFed();

private:
    QProcess m_feeder;
};
