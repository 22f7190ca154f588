#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr char RuntimeVariable[] = "XDG_RUNTIME_DIR";
constexpr mode_t PrivateMode = 0700;
constexpr mode_t PermissionBits = 0777;
constexpr char RunLockName[] = "run.lock";

// Makes a new folder from `pattern` (ending in XXXXXX, replaced in place). mkdtemp never reuses
// a name; the folder is still opened without following a link and checked to be ours, as
// whoever may write to the parent (TMPDIR may name any folder) could swap it.
bool makePrivate(QByteArray& pattern)
{
    if (mkdtemp(pattern.data()) == nullptr)
        return false;
    const int descriptor = open(pattern.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat info = {};
    // Qt insists on exactly 0700; a stricter umask may have left less.
    const bool usable =
        fstat(descriptor, &info) == 0 && info.st_uid == geteuid() &&
        ((info.st_mode & PermissionBits) == PrivateMode || fchmod(descriptor, PrivateMode) == 0);
    close(descriptor);
    return usable;
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
        const QByteArray folder = QFile::encodeName(parent + u'/' + name);
        std::error_code ignored;
        if (isOrphaned(folder))
            std::filesystem::remove_all(folder.constData(), ignored);
    }
}

} // namespace

RuntimeFolder::RuntimeFolder() : RuntimeFolder(QDir::tempPath()) {}

RuntimeFolder::RuntimeFolder(const QString& parent) : m_wasSet(qEnvironmentVariableIsSet(RuntimeVariable))
{
    if (!qEnvironmentVariableIsEmpty(RuntimeVariable))
        return;
    removeOrphans(parent);
    QByteArray pattern = QFile::encodeName(parent + QStringLiteral("/korumi-runtime-XXXXXX"));
    if (!makePrivate(pattern))
        return;
    m_path = pattern;
    m_lock = lockAsLive(m_path);
    qputenv(RuntimeVariable, m_path);
}

RuntimeFolder::~RuntimeFolder()
{
    if (m_path.isEmpty())
        return;
    // Only we can write in it, so nothing in it leads elsewhere; remove_all follows no link anyway.
    std::error_code ignored;
    std::filesystem::remove_all(m_path.constData(), ignored);
    if (m_lock >= 0)
        close(m_lock);
    if (m_wasSet)
        qputenv(RuntimeVariable, QByteArray());
    else
        qunsetenv(RuntimeVariable);
}

QString RuntimeFolder::Path() const
{
    return QFile::decodeName(m_path);
}

void ProvideRuntimeFolder()
{
    static const RuntimeFolder folder;
}
