#include "platform/Console.h"

#include "platform/StopSignals.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace
{

// Writes all of `bytes`, waiting as long as the reader takes; a stop signal ends the wait, so a
// reader that never reads cannot keep Korumi from stopping.
bool writeAll(std::FILE* stream, const QByteArray& bytes)
{
    std::fflush(stream);
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fileno(stream), data, static_cast<size_t>(left));
        if (written > 0) {
            data += written;
            left -= written;
        } else if (written < 0 && errno == EINTR && StopSignals::First() == 0) {
            continue;
        } else {
            return false;
        }
    }
    return true;
}

// Whether `stream` takes a line now: a pipe whose reader has stopped reading does not.
bool takesNow(std::FILE* stream)
{
    pollfd wanted = {fileno(stream), POLLOUT, 0};
    return ::poll(&wanted, 1, 0) == 1 && (wanted.revents & POLLOUT) != 0;
}

QByteArray rewritten(const QString& line)
{
    // Back to the line's start, the new text, then the rest of the old line erased.
    return ("\r" + line + QStringLiteral("\x1b[K")).toUtf8();
}

} // namespace

void WriteLine(std::FILE* stream, const QString& line)
{
    writeAll(stream, line.toUtf8().append('\n'));
}

void WriteBytes(std::FILE* stream, const QByteArray& bytes)
{
    writeAll(stream, bytes);
}

void RewriteLine(std::FILE* stream, const QString& line)
{
    writeAll(stream, rewritten(line));
}

bool OfferLine(std::FILE* stream, const QString& line)
{
    return takesNow(stream) && writeAll(stream, line.toUtf8().append('\n'));
}

bool OfferRewrite(std::FILE* stream, const QString& line)
{
    return takesNow(stream) && writeAll(stream, rewritten(line));
}

bool IsTerminal(std::FILE* stream)
{
    return isatty(fileno(stream)) == 1;
}

void KeepStandardStreamsOpen()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // The lowest free number: `fd` itself, as the ones below it are open.
        const int null = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
}
