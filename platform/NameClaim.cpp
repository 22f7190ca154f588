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

} // namespace

NameClaim::Outcome NameClaim::TryTake(const QString& lockPath, std::unique_ptr<NameClaim>& claim)
{
    const QByteArray path = QFile::encodeName(lockPath);
    for (;;) {
        const int descriptor =
            open(path.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, LockFileMode);
        if (descriptor < 0)
            return errno == EACCES && access(path.constData(), F_OK) == 0 ? Outcome::Held : Outcome::Unusable;
        if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            close(descriptor);
            return Outcome::Held;
        }
        // The holder before us may have removed the file between our open and our lock; a lock
        // on a file that no longer has the name claims nothing, so start again.
        struct stat held = {}, named = {};
        if (fstat(descriptor, &held) == 0 && lstat(path.constData(), &named) == 0 && sameFile(held, named)) {
            fchmod(descriptor, LockFileMode); // a strict umask must not hide it from other users
            claim.reset(new NameClaim(path, descriptor));
            return Outcome::Claimed;
        }
        close(descriptor);
    }
}

NameClaim::~NameClaim()
{
    // Removed while still held, so nobody can take a lock on a name that is about to vanish.
    unlink(m_path.constData());
    close(m_descriptor);
}
