#include "platform/PrivateFolder.h"

#include <QDir>

namespace
{

QString Parent()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return QDir::isAbsolutePath(runtime) && QDir(runtime).exists() ? runtime : QDir::tempPath();
}

} // namespace

PrivateFolder::PrivateFolder() : m_folder(Parent() + QStringLiteral("/korumi-XXXXXX")) {}

QString PrivateFolder::Path() const
{
    return m_folder.isValid() ? m_folder.path() : QString();
}
