#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr char RuntimeVariable[] = "XDG_RUNTIME_DIR";
constexpr char RunLockName[] = "run.lock";

// Qt makes the folder 0700 under a name nobody can take first; a stricter umask may have left
// less, and Qt's own runtime folder check insists on exactly 0700.
bool makePrivate(const QTemporaryDir& folder)
{
    if (!folder.isValid())
        return false;
    const QFileInfo info(folder.path());
    return info.isDir() && !info.isSymLink() && info.ownerId() == geteuid() &&
           QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Holds the lock that tells every later run that this folder's run is alive. The lock file is
// made under another name and renamed once it is locked, so nobody ever finds it unlocked while
// its run lives. -1 where the file system gives no locks: the folder then stays for its run to
// remove.
int lockAsLive(const QByteArray& folder)
{
    const QByteArray fresh = folder + '/' + RunLockName + ".new";
    const int descriptor = open(fresh.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return -1;
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0 &&
        rename(fresh.constData(), (folder + '/' + RunLockName).constData()) == 0)
        return descriptor;
    unlink(fresh.constData());
    close(descriptor);
    return -1;
}

// Whether the run that made `folder` (in a folder others may write to) is provably gone: the
// folder is this user's own, and the lock its run held can be taken.
bool isOrphaned(const QByteArray& folder)
{
    struct stat info = {};
    if (lstat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
        return false;
    const int descriptor = open((folder + '/' + RunLockName).constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool gone = flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    close(descriptor);
    return gone;
}

// Removes the folders in `parent` that runs killed before they could remove them left behind.
void removeOrphans(const QString& parent)
{
    const QStringList names = QDir(parent).entryList({QStringLiteral("korumi-runtime-??????")},
                                                     QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : names) {
        const QString folder = parent + u'/' + name;
        if (isOrphaned(QFile::encodeName(folder)))
            QDir(folder).removeRecursively();
    }
}

} // namespace

RuntimeFolder::RuntimeFolder() : RuntimeFolder(QDir::tempPath()) {}

RuntimeFolder::RuntimeFolder(const QString& parent) : m_wasSet(qEnvironmentVariableIsSet(RuntimeVariable))
{
    if (!qEnvironmentVariableIsEmpty(RuntimeVariable))
        return;
    removeOrphans(parent);
    m_folder.emplace(parent + QStringLiteral("/korumi-runtime-XXXXXX"));
    if (!makePrivate(*m_folder)) {
        m_folder.reset();
        return;
    }
    const QByteArray path = QFile::encodeName(m_folder->path());
    m_lock = lockAsLive(path);
    qputenv(RuntimeVariable, path);
}

RuntimeFolder::~RuntimeFolder()
{
    if (!m_folder)
        return;
    // Only we can write in it; its removal follows no link anyway.
    m_folder.reset();
    if (m_lock >= 0)
        close(m_lock);
    if (m_wasSet)
        qputenv(RuntimeVariable, QByteArray());
    else
        qunsetenv(RuntimeVariable);
}

QString RuntimeFolder::Path() const
{
    return m_folder ? m_folder->path() : QString();
}
