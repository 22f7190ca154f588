#include "conversion/TargetPlan.h"

#include "input/DirectoryListing.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace
{

QString resolved(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(path) : canonical;
}

// A folder as the plan sees it: where it leads with links resolved, and which of its entries
// are links (and, once asked, every name in it). Each folder is listed once rather than the file
// system being asked about every file.
struct Folder {
    QString resolved;
    QSet<QString> links;
    QSet<QString> names;
    bool named = false;

    Folder() = default;
    explicit Folder(const QString& path) : resolved(::resolved(path))
    {
        for (DirectoryListing listing(path); listing.Next();) {
            if (listing.IsLink())
                links.insert(listing.Name());
        }
    }

    bool Has(const QString& folderPath, const QString& name)
    {
        if (!named) {
            for (DirectoryListing listing(folderPath); listing.Next();)
                names.insert(listing.Name());
            named = true;
        }
        return names.contains(name);
    }
};

// What names a file whatever the spelling: the path with links resolved as far as it exists.
class FileKeys
{
public:
    QString Of(const QString& path)
    {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash < 0 || !QDir::isAbsolutePath(path))
            return Of(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
        const QString name = path.mid(slash + 1);
        const Folder& folder = slash == 0 ? At(u"/") : At(QStringView(path).first(slash));
        if (folder.links.contains(name))
            return resolved(path);
        return Paths::Join(folder.resolved, name);
    }

    Folder& At(QStringView folderPath)
    {
        const QString path = folderPath.toString();
        auto found = m_folders.find(path);
        if (found == m_folders.end())
            found = m_folders.insert(path, Folder(path));
        return found.value();
    }

private:
    QHash<QString, Folder> m_folders;
};

// "name (n).ext", or `name` itself for 1.
QString numberedName(const QString& name, int number)
{
    if (number == 1)
        return name;
    const QString extension = Paths::ExtractFileExt(name);
    return QStringLiteral("%1 (%2)%3")
        .arg(name.chopped(extension.size()), QString::number(number), extension);
}

// The names in the output folder that the plan may not give: the run's sources that lie there,
// and the targets already planned. A candidate that is a link is known by where it leads.
class TakenNames
{
public:
    TakenNames(const QStringList& sources, const QString& folder, FileKeys& keys)
        : m_sources(sources), m_folder(folder), m_keys(keys), m_resolvedFolder(keys.At(folder).resolved)
    {
        for (qsizetype i = 0; i < sources.size(); ++i) {
            if (mayLieInFolder(sources.at(i))) {
                const QString key = keys.Of(sources.at(i));
                if (inFolder(key))
                    m_sourceNames.insert(key.mid(nameStart()));
            }
        }
    }

    bool Contains(const QString& name)
    {
        if (!m_keys.At(m_folder).links.contains(name))
            return m_sourceNames.contains(name) || m_targetNames.contains(name);
        const QString key = m_keys.Of(Paths::Join(m_folder, name));
        if (inFolder(key))
            return Contains(key.mid(nameStart()));
        return sourceKeys().contains(key);
    }

    void Take(const QString& name) { m_targetNames.insert(name); }

private:
    // Whether `source`, with links resolved, may be in the output folder: only when its folder
    // leads there or holds links. Sources come folder by folder; most are passed over unresolved.
    bool mayLieInFolder(const QString& source)
    {
        const qsizetype slash = source.lastIndexOf(u'/');
        if (slash <= 0 || !source.startsWith(u'/')) // relative, or in "/"
            return true;
        const Folder& folder = m_keys.At(QStringView(source).first(slash));
        return folder.resolved == m_resolvedFolder || !folder.links.isEmpty();
    }

    // Where a name starts in a key in the output folder.
    qsizetype nameStart() const
    {
        return m_resolvedFolder.size() + (m_resolvedFolder.endsWith(u'/') ? 0 : 1);
    }

    bool inFolder(const QString& key) const
    {
        return key.size() > nameStart() && key.startsWith(m_resolvedFolder) &&
               key.at(nameStart() - 1) == u'/' && key.indexOf(u'/', nameStart()) < 0;
    }

    // Every source's key: needed only for a link in the output folder that leads out of it.
    const QSet<QString>& sourceKeys()
    {
        if (m_allSourceKeys.isEmpty()) {
            for (qsizetype i = 0; i < m_sources.size(); ++i)
                m_allSourceKeys.insert(m_keys.Of(m_sources.at(i)));
        }
        return m_allSourceKeys;
    }

    const QStringList& m_sources;
    const QString m_folder;
    FileKeys& m_keys;
    const QString m_resolvedFolder;
    QSet<QString> m_sourceNames;
    QSet<QString> m_targetNames;
    QSet<QString> m_allSourceKeys;
};

} // namespace

QString NumberedTarget(const QString& wanted, int number)
{
    const QString name = Paths::ExtractFileName(wanted);
    return wanted.chopped(name.size()) + numberedName(name, number);
}

QStringList PlanTargets(const QStringList& sources, const QString& outputFolder, FoundFiles found)
{
    const QString folder = QDir::cleanPath(QDir(outputFolder).absolutePath());
    const QString prefix = Paths::IncludeTrailingSeparator(folder);
    FileKeys keys;
    TakenNames taken(sources, folder, keys);
    // Per wanted name that was taken, the first number not known to be taken: a thousand files
    // of one name are numbered in one pass, not by counting up from the start each time.
    QHash<QString, int> firstFree;
    QStringList targets;
    targets.reserve(sources.size());
    for (qsizetype i = 0; i < sources.size(); ++i) {
        const QString wanted =
            Paths::ChangeFileExt(Paths::ExtractFileName(sources.at(i)), QStringLiteral(".mp4"));
        int number = firstFree.value(wanted, 1);
        QString name;
        while (taken.Contains(name = numberedName(wanted, number)) ||
               (number > 1 && found == FoundFiles::UsersOwn && keys.At(folder).Has(folder, name)))
            ++number;
        if (number > 1)
            firstFree.insert(wanted, number);
        targets.append(prefix + name);
        taken.Take(name);
    }
    return targets;
}
