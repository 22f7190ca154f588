#include "platform/Console.h"

#include "platform/StopSignals.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace
{

// Standard output and error as the caller left them: closed ones stay closed to writers.
bool g_closed[STDERR_FILENO + 1] = {};

// Whether `stream` takes a line now: a pipe whose reader has stopped reading does not.
bool takesNow(std::FILE* stream)
{
    pollfd wanted = {fileno(stream), POLLOUT, 0};
    return ::poll(&wanted, 1, 0) == 1 && (wanted.revents & POLLOUT) != 0;
}

// Writes all of `bytes`, waiting as long as the reader takes; a stop signal that comes meanwhile
// ends the wait, so a reader that never reads cannot keep Korumi from stopping. (A write begun
// after a stop, such as the summary of a stopped run, waits for the reader, or for another stop.)
bool writeAll(std::FILE* stream, const QByteArray& bytes)
{
    const int fd = fileno(stream);
    if (fd <= STDERR_FILENO && g_closed[fd]) {
        errno = EBADF;
        return false;
    }
    std::fflush(stream);
    const int stopsBefore = StopSignals::Count();
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        // A stop that came while part of it was written leaves the rest unwritten.
        if (StopSignals::Count() != stopsBefore) {
            errno = EINTR;
            return false;
        }
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written > 0) {
            data += written;
            left -= written;
        } else if (written == 0 || errno != EINTR) {
            return false;
        }
    }
    return true;
}

QByteArray rewritten(const QString& line)
{
    // Back to the line's start, the new text, then the rest of the old line erased.
    return ("\r" + line + QStringLiteral("\x1b[K")).toUtf8();
}

} // namespace

bool WriteLine(std::FILE* stream, const QString& line)
{
    return writeAll(stream, line.toUtf8().append('\n'));
}

bool WriteBytes(std::FILE* stream, const QByteArray& bytes)
{
    return writeAll(stream, bytes);
}

bool RewriteLine(std::FILE* stream, const QString& line)
{
    return writeAll(stream, rewritten(line));
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
        g_closed[fd] = true;
        // The lowest free number: `fd` itself, as the ones below it are open.
        const int null = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            ::dup2(null, fd);
            ::close(null);
        }
    }
}
