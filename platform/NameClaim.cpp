#include "platform/NameClaim.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Readable by all: another user's run must be able to open the file to test the lock.
constexpr mode_t LockFileMode = 0644;

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

struct LockFile {
    int Descriptor = -1;
    bool Made = false;     // by this open
    bool Writable = false; // NFS grants an exclusive lock on no other descriptor
};

// Opens the lock file at `path`, making it when missing: for writing where it may, else (another
// user's lock file) for reading, which still tells a held lock on a local disk.
LockFile openLockFile(const char* path)
{
    constexpr int Flags = O_NOFOLLOW | O_CLOEXEC;
    for (;;) {
        LockFile file;
        file.Descriptor = open(path, O_RDWR | O_CREAT | O_EXCL | Flags, LockFileMode);
        file.Made = file.Writable = file.Descriptor >= 0;
        if (file.Made || errno != EEXIST)
            return file;
        file.Descriptor = open(path, O_RDWR | Flags);
        file.Writable = file.Descriptor >= 0;
        if (!file.Writable && errno == EACCES)
            file.Descriptor = open(path, O_RDONLY | Flags);
        if (file.Descriptor >= 0 || errno != ENOENT)
            return file;
        // Let go of between our two opens: make it again.
    }
}

} // namespace

NameClaim::Outcome NameClaim::TryTake(const QString& lockPath, std::unique_ptr<NameClaim>& claim)
{
    const QByteArray path = QFile::encodeName(lockPath);
    for (;;) {
        const LockFile file = openLockFile(path.constData());
        if (file.Descriptor < 0)
            return errno == EACCES && access(path.constData(), F_OK) == 0 ? Outcome::Held : Outcome::Unusable;
        if (flock(file.Descriptor, LOCK_EX | LOCK_NB) != 0) {
            // Only a lock held by another means held. A read-only descriptor that NFS refuses to
            // lock proves nothing either way, and the claim goes on to the next name.
            const int error = errno;
            if (file.Made)
                unlink(path.constData());
            close(file.Descriptor);
            errno = error;
            return error == EWOULDBLOCK || !file.Writable ? Outcome::Held : Outcome::Unlocked;
        }
        // The holder before us may have removed the file between our open and our lock; a lock
        // on a file that no longer has the name claims nothing, so start again.
        struct stat held = {}, named = {};
        if (fstat(file.Descriptor, &held) == 0 && lstat(path.constData(), &named) == 0 &&
            sameFile(held, named)) {
            fchmod(file.Descriptor, LockFileMode); // a strict umask must not hide it from other users
            claim.reset(new NameClaim(path, file.Descriptor));
            return Outcome::Claimed;
        }
        close(file.Descriptor);
    }
}

NameClaim::~NameClaim()
{
    // Removed while still held, so nobody can take a lock on a name that is about to vanish.
    unlink(m_path.constData());
    close(m_descriptor);
}
