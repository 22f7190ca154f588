#include "platform/PathList.h"

#include <QHash>
#include <vector>

// Folders are held once each. Names go at the end of the last block of characters or start a
// new one; nothing written ever moves, so views into the blocks stay valid while the storage
// lives.
struct PathList::Storage {
    // Large enough that a million names fill few blocks, small enough for a list of one.
    static constexpr qsizetype BlockLength = 1 << 16;

    QStringList Folders;
    QHash<QString, quint32> FolderIndex;
    quint32 LastFolder = 0;
    std::vector<std::unique_ptr<char16_t[]>> Blocks;
    qsizetype LastBlockUsed = 0;
    qsizetype LastBlockLength = 0;

    quint32 Folder(QStringView folder)
    {
        if (LastFolder < quint32(Folders.size()) && Folders.at(LastFolder) == folder)
            return LastFolder; // paths come folder by folder
        const QString key = folder.toString();
        auto found = FolderIndex.constFind(key);
        if (found == FolderIndex.cend()) {
            Folders << key;
            found = FolderIndex.insert(key, quint32(Folders.size() - 1));
        }
        return LastFolder = found.value();
    }

    // Copies `name` in; gives its block and where in it the name starts.
    std::pair<quint32, quint32> Add(QStringView name)
    {
        if (Blocks.empty() || LastBlockUsed + name.size() > LastBlockLength) {
            LastBlockLength = std::max(BlockLength, name.size());
            Blocks.emplace_back(new char16_t[LastBlockLength]);
            LastBlockUsed = 0;
        }
        std::copy(name.utf16(), name.utf16() + name.size(), Blocks.back().get() + LastBlockUsed);
        const auto start = quint32(LastBlockUsed);
        LastBlockUsed += name.size();
        return {quint32(Blocks.size() - 1), start};
    }
};

PathList::PathList(const QStringList& paths)
{
    reserve(paths.size());
    for (const QString& path : paths)
        append(path);
}

PathList::PathList(std::initializer_list<QString> paths)
{
    reserve(qsizetype(paths.size()));
    for (const QString& path : paths)
        append(path);
}

QString PathList::at(qsizetype i) const
{
    const SplitPath path = SplitAt(i);
    QString whole;
    whole.reserve(path.Folder.size() + path.Name.size());
    return whole.append(path.Folder).append(path.Name);
}

void PathList::append(QStringView path)
{
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    append(path.first(nameStart), path.sliced(nameStart));
}

void PathList::append(const PathList& other, qsizetype i)
{
    const SplitPath path = other.SplitAt(i);
    append(path.Folder, path.Name);
}

void PathList::append(QStringView folder, QStringView name)
{
    if (!m_storage)
        m_storage = std::make_shared<Storage>();
    const quint32 folderIndex = m_storage->Folder(folder);
    const auto [block, start] = m_storage->Add(name);
    m_entries.append({folderIndex, quint32(name.size()), block, start});
}

void PathList::RemoveSorted(const QList<int>& indexes)
{
    if (indexes.isEmpty())
        return;
    qsizetype kept = indexes.first();
    auto removed = indexes.cbegin();
    for (qsizetype i = kept; i < size(); ++i) {
        if (removed != indexes.cend() && *removed == i)
            ++removed;
        else
            m_entries[kept++] = m_entries.at(i);
    }
    m_entries.resize(kept);
}

void PathList::clear()
{
    m_entries.clear();
    m_storage.reset(); // the storage may be shared: a new one is made for what comes next
}

QStringList PathList::ToStringList() const
{
    QStringList paths;
    paths.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        paths << at(i);
    return paths;
}

SplitPath PathList::split(const Entry& entry) const
{
    return {m_storage->Folders.at(entry.Folder),
            QStringView(m_storage->Blocks[entry.Block].get() + entry.NameStart, qsizetype(entry.NameLength))};
}
