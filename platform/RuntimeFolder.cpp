#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr char RuntimeVariable[] = "XDG_RUNTIME_DIR";
constexpr mode_t PrivateMode = 0700;
constexpr mode_t PermissionBits = 0777;

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

} // namespace

RuntimeFolder::RuntimeFolder() : RuntimeFolder(QDir::tempPath()) {}

RuntimeFolder::RuntimeFolder(const QString& parent) : m_wasSet(qEnvironmentVariableIsSet(RuntimeVariable))
{
    if (!qEnvironmentVariableIsEmpty(RuntimeVariable))
        return;
    QByteArray pattern = QFile::encodeName(parent + QStringLiteral("/korumi-runtime-XXXXXX"));
    if (!makePrivate(pattern))
        return;
    m_path = pattern;
    qputenv(RuntimeVariable, m_path);
}

RuntimeFolder::~RuntimeFolder()
{
    if (m_path.isEmpty())
        return;
    // Only we can write in it, so nothing in it leads elsewhere; remove_all follows no link anyway.
    std::error_code ignored;
    std::filesystem::remove_all(m_path.constData(), ignored);
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
