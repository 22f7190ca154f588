#include "platform/ReadInput.h"

#include "platform/StopSignals.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr qsizetype PieceBytes = 64 * 1024;

// Reads `fd` to its end, handing what comes to `take`; the reason when it cannot, or when a stop
// signal came while `stoppable` (a regular file is read whole at once, so a window that is closing
// still reads the settings it saves into).
QString readPieces(int fd, const std::function<bool(QByteArrayView)>& take, bool stoppable = true)
{
    char buffer[PieceBytes];
    while (!stoppable || StopSignals::First() == 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0 && !take(QByteArrayView(buffer, got)))
            return QString();
        if (got == 0)
            return QString();
        if (got < 0 && errno != EINTR)
            return qt_error_string(errno);
    }
    return qt_error_string(EINTR);
}

} // namespace

QString ReadInput(const QString& path, const std::function<bool(QByteArrayView)>& take)
{
    const bool standardInput = path == u'-';
    const int fd =
        standardInput ? STDIN_FILENO : ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    const QString problem = readPieces(fd, take);
    if (!standardInput)
        ::close(fd);
    return problem;
}

SmallFile ReadSmallFile(const QString& path, qint64 maxBytes)
{
    SmallFile file;
    // Opened without waiting: a pipe at the path would otherwise hold Korumi until a writer came.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info = {};
    if (fd < 0) {
        file.Missing = errno == ENOENT;
        file.Problem = file.Missing ? QString() : qt_error_string(errno);
        return file;
    }
    if (::fstat(fd, &info) != 0)
        file.Problem = qt_error_string(errno);
    else if (!S_ISREG(info.st_mode))
        file.Problem = QStringLiteral("not a regular file");
    else if (info.st_size > maxBytes)
        file.Problem = QStringLiteral("larger than %1 bytes").arg(maxBytes);
    else
        file.Problem = readPieces(
            fd,
            [&file, maxBytes](QByteArrayView piece) {
                file.Bytes.append(piece);
                return file.Bytes.size() <= maxBytes; // it may have grown since
            },
            /*stoppable=*/false);
    ::close(fd);
    if (file.Problem.isEmpty() && file.Bytes.size() > maxBytes)
        file.Problem = QStringLiteral("larger than %1 bytes").arg(maxBytes);
    return file;
}
