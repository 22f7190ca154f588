#include "conversion/TargetPlan.h"

#include "conversion/CommandLine.h"
#include "input/DirectoryListing.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace
{

// What names a file whatever the spelling: the path with links resolved as far as it exists,
// else the clean absolute path. Each folder is resolved and listed once, for its links (and, where
// asked, its names), rather than the file system being asked about every file.
class FileKeys
{
public:
    QString Of(const QString& path)
    {
        const QFileInfo info(path);
        const Folder& folder = listed(info.absolutePath(), false);
        if (folder.links.contains(info.fileName()))
            return resolved(info.absoluteFilePath());
        return Paths::Join(folder.resolved, info.fileName());
    }

    // Whether something, a link leading nowhere included, has the name `path`.
    bool Exists(const QString& path)
    {
        const QFileInfo info(path);
        return listed(info.absolutePath(), true).names.contains(info.fileName());
    }

private:
    struct Folder {
        QString resolved;
        QSet<QString> links;
        QSet<QString> names; // kept only for folders asked about
        bool listed = false;
        bool named = false;
    };

    Folder& listed(const QString& path, bool withNames)
    {
        Folder& folder = m_folders[path];
        if (folder.listed && (folder.named || !withNames))
            return folder;
        folder = {resolved(path), {}, {}, true, withNames};
        for (DirectoryListing listing(path); listing.Next();) {
            if (listing.IsLink())
                folder.links.insert(listing.Name());
            if (withNames)
                folder.names.insert(listing.Name());
        }
        return folder;
    }

    static QString resolved(const QString& path)
    {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
    }

    QHash<QString, Folder> m_folders;
};

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
               (number > 1 && found == FoundFiles::UsersOwn && keys.Exists(NumberedTarget(wanted, number))))
            ++number;
        targets << NumberedTarget(wanted, number);
        taken.insert(key);
    }
    return targets;
}
