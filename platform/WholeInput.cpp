#include "platform/WholeInput.h"

#include "platform/StopSignals.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// Reads `fd` to its end into `input`; the reason when it cannot, or when a stop signal came.
QString readAll(int fd, QByteArray& input)
{
    char buffer[64 * 1024];
    while (StopSignals::First() == 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            input.append(buffer, got);
        else if (got == 0)
            return QString();
        else if (errno != EINTR)
            return qt_error_string(errno);
    }
    return qt_error_string(EINTR);
}

} // namespace

WholeInput ReadWholeInput(const QString& path)
{
    const bool standardInput = path == u'-';
    const int fd =
        standardInput ? STDIN_FILENO : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {{}, qt_error_string(errno)};
    WholeInput input;
    input.Problem = readAll(fd, input.Bytes);
    if (!standardInput)
        ::close(fd);
    return input;
}
