#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// The same limit the system puts on links followed in one path.
constexpr int MaxLinksFollowed = 40;

// The file that a chain of links ends at (the path itself when it is no link), made absolute.
QString LinkTarget(const QString& path)
{
    QFileInfo info(path);
    for (int i = 0; i < MaxLinksFollowed && info.isSymLink(); ++i)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// A new, empty file beside `target` under an unused name; created with the permissions any new
// file gets. Returns its descriptor, or -1.
int CreateBeside(const QByteArray& target, QByteArray& created)
{
    constexpr int attempts = 100;
    for (int i = 0; i < attempts; ++i) {
        created = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(created.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A rewritten file keeps the permissions it had.
bool KeepMode(int fd, const QByteArray& target)
{
    struct stat old;
    return ::stat(target.constData(), &old) != 0 || ::fchmod(fd, old.st_mode & 07777) == 0;
}

// Makes the rename itself survive a power failure; a folder that cannot be synced is no error.
void SyncFolder(const QString& fullPath)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(fullPath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool ReplaceFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QString fullPath = LinkTarget(path);
    const QByteArray target = QFile::encodeName(fullPath);
    QByteArray temporary;
    const int fd = CreateBeside(target, temporary);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes) && KeepMode(fd, target) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    SyncFolder(fullPath);
    return true;
}
