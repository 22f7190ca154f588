#include "platform/Paths.h"

#include <QDir>

namespace Paths
{

namespace
{
int fileNameStart(const QString& path)
{
    return path.lastIndexOf(Separator) + 1;
}

int extensionStart(const QString& path)
{
    const int dot = path.lastIndexOf(u'.');
    return dot >= fileNameStart(path) ? dot : -1;
}
} // namespace

QString ExtractFileName(const QString& path)
{
    return path.mid(fileNameStart(path));
}

QString ExtractFileExt(const QString& path)
{
    const int dot = extensionStart(path);
    return dot < 0 ? QString() : path.mid(dot);
}

QString ChangeFileExt(const QString& path, const QString& extension)
{
    const int dot = extensionStart(path);
    return (dot < 0 ? path : path.left(dot)) + extension;
}

QString ExcludeTrailingSeparator(const QString& path)
{
    if (path.size() > 1 && path.endsWith(Separator))
        return path.chopped(1);
    return path;
}

QString IncludeTrailingSeparator(const QString& path)
{
    if (path.isEmpty() || path.endsWith(Separator))
        return path;
    return path + Separator;
}

QString Join(const QString& folder, const QString& name)
{
    return folder.endsWith(Separator) ? folder + name : folder + Separator + name;
}

bool NamesHome(const QString& path)
{
    return path == u'~' || path.startsWith(QStringLiteral("~/"));
}

QString ExpandHome(const QString& path, const QString& home)
{
    if (path == u'~')
        return home;
    if (path.startsWith(QStringLiteral("~/")))
        return Join(home, path.mid(2));
    return path;
}

QString UsableFolder(const QString& path)
{
    const bool homeKnown = QDir::isAbsolutePath(qEnvironmentVariable("HOME"));
    return ExcludeTrailingSeparator(homeKnown ? ExpandHome(path, QDir::homePath()) : path);
}

} // namespace Paths
