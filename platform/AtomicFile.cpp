#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <fcntl.h>
#include <unistd.h>

namespace
{

// Makes the rename itself survive a power failure; a folder that cannot be synced is no error.
void SyncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFileInfo(path).canonicalFilePath()).path());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool ReplaceFileAtomically(const QString& path, const QByteArray& bytes)
{
    // QSaveFile writes beside the file a link leads to, keeps its permissions, and flushes the new
    // content to disk before renaming it over the old. Unbuffered, a write that a full disk cuts
    // short shows in its count; through the buffer, a flush that wrote part was taken as whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() ||
        !file.commit())
        return false;
    SyncFolderOf(path);
    return true;
}
