#include "conversion/TargetPlan.h"

#include "conversion/CommandLine.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace
{

// What names a file whatever the spelling: the path with links resolved as far as it exists,
// else the clean absolute path. Folders are resolved once each, as a run's files share few.
class FileKeys
{
public:
    QString Of(const QString& path)
    {
        const QFileInfo info(path);
        if (info.isSymLink())
            return resolved(info.absoluteFilePath());
        QString& folder = m_folders[info.absolutePath()];
        if (folder.isEmpty())
            folder = resolved(info.absolutePath());
        return Paths::Join(folder, info.fileName());
    }

private:
    static QString resolved(const QString& path)
    {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
    }

    QHash<QString, QString> m_folders;
};

// A link that leads nowhere is still a name someone made.
bool existsOnDisk(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString NumberedTarget(const QString& wanted, int number)
{
    if (number == 1)
        return wanted;
    const QString extension = Paths::ExtractFileExt(wanted);
    return wanted.chopped(extension.size()) + QStringLiteral(" (%1)").arg(number) + extension;
}

QStringList PlanTargets(const QStringList& sources, const QString& outputFolder, FoundFiles found)
{
    const QString folder = QDir::cleanPath(QDir(outputFolder).absolutePath());
    FileKeys keys;
    QSet<QString> taken;
    for (const QString& source : sources)
        taken.insert(keys.Of(source));
    // Per wanted name, the first candidate not known to be taken: a thousand files of one name
    // are numbered in one pass, not by counting up from the start each time.
    QHash<QString, int> firstFree;
    QStringList targets;
    for (const QString& source : sources) {
        const QString wanted = TargetPathFor(source, folder);
        int& number = firstFree[wanted];
        number = qMax(number, 1);
        QString key;
        while (taken.contains(key = keys.Of(NumberedTarget(wanted, number))) ||
               (number > 1 && found == FoundFiles::UsersOwn && existsOnDisk(NumberedTarget(wanted, number))))
            ++number;
        targets << NumberedTarget(wanted, number);
        taken.insert(key);
    }
    return targets;
}
