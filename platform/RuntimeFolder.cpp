#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr char RuntimeVariable[] = "XDG_RUNTIME_DIR";
constexpr mode_t PrivateMode = 0700;
constexpr mode_t PermissionBits = 0777;

// Creates `folder` if missing and makes sure only `user` may enter it. The folder is opened
// without following a link, so whatever someone else placed at that name is never used.
bool makePrivate(const QByteArray& folder, uid_t user)
{
    if (mkdir(folder.constData(), PrivateMode) != 0 && errno != EEXIST)
        return false;
    const int descriptor = open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat info = {};
    // Qt insists on exactly 0700; a stricter umask may have left less.
    const bool usable =
        fstat(descriptor, &info) == 0 && info.st_uid == user &&
        ((info.st_mode & PermissionBits) == PrivateMode || fchmod(descriptor, PrivateMode) == 0);
    close(descriptor);
    return usable;
}

} // namespace

void ProvideRuntimeFolder(const QString& folder, uid_t user)
{
    if (!qEnvironmentVariableIsEmpty(RuntimeVariable))
        return;
    const QByteArray path = QFile::encodeName(folder);
    if (makePrivate(path, user))
        qputenv(RuntimeVariable, path);
}

void ProvideRuntimeFolder()
{
    const uid_t user = geteuid();
    ProvideRuntimeFolder(QDir::tempPath() + QStringLiteral("/korumi-runtime-") + QString::number(user), user);
}
