#include "input/FullPath.h"

#include "platform/FileChecks.h"
#include "platform/Paths.h"

#include <QDir>
#include <QStringList>

namespace
{

QStringList foldedComponents(const QString& absolute)
{
    QStringList components;
    for (const QString& component : absolute.split(Paths::Separator, Qt::SkipEmptyParts)) {
        if (component == u".")
            continue;
        if (component == u"..") {
            if (!components.isEmpty())
                components.removeLast();
            continue;
        }
        components << component;
    }
    return components;
}

} // namespace

QString FullPath(const QString& path)
{
    if (path.isEmpty())
        return path;
    const QString absolute =
        path.startsWith(Paths::Separator) ? path : Paths::Join(QDir::currentPath(), path);
    const QStringList components = foldedComponents(absolute);
    QString result = Paths::Separator + components.join(Paths::Separator);
    if (absolute.endsWith(Paths::Separator))
        result = Paths::IncludeTrailingSeparator(result);
    return result;
}

QString CleanFilePath(const QString& path)
{
    const QString folded = FullPath(path);
    if (IsSameFile(folded, path))
        return folded;
    return path.startsWith(Paths::Separator) ? path : Paths::Join(QDir::currentPath(), path);
}
