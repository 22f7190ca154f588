#include "input/SearchFile.h"

#include "input/DirectoryListing.h"
#include "input/FullPath.h"
#include "input/Wildcard.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Printable.h"

namespace
{

// Holds a busy flag set for its lifetime, so that it is cleared whatever ends the operation.
class BusyScope
{
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
};

void stopUnless(bool Continue)
{
    if (!Continue)
        throw EAbort();
}

} // namespace

bool TSearchDir::Search()
{
    if (m_busy || !OnFind)
        return false;
    const QString base = FullPath(BaseDir);
    if (KindOf(base) == EntryKind::ekNone)
        return false;
    BusyScope busy(m_busy);
    m_queue.clear();
    try {
        walk(base);
    } catch (const EAbort&) {
        return false;
    }
    return true;
}

void TSearchDir::DoFind(const QString& Name, const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue)
{
    if (OnFind)
        OnFind(this, Name, Data, IgnoreSubDir, Continue);
}

void TSearchDir::walk(const QString& base)
{
    bool Continue = true;
    visit(base, ReadEntryData(base), Continue);
    while (!m_queue.empty()) {
        const QString folder = Paths::IncludeTrailingSeparator(m_queue.front());
        m_queue.pop_front();
        for (DirectoryListing listing(folder); listing.Next();) {
            // A folder whose name is not text is reported when its parent is scanned.
            if (listing.IsWalkableFolder() && listing.NameIsText())
                visit(folder + listing.Name(), listing.Data(), Continue);
        }
    }
}

void TSearchDir::visit(const QString& folder, const TSearchFileData& data, bool& Continue)
{
    bool IgnoreSubDir = false;
    DoFind(folder, data, IgnoreSubDir, Continue);
    stopUnless(Continue);
    if (!IgnoreSubDir)
        m_queue.push_back(folder);
}

TSearchFile::TSearchFile()
{
    m_searchDir.OnFind = [this](TSearchDir* Sender, const QString& Name, const TSearchFileData& Data,
                                bool& IgnoreSubDir, bool& Continue) {
        SearchDirOnFind(Sender, Name, Data, IgnoreSubDir, Continue);
    };
}

bool TSearchFile::Search()
{
    if (m_busy || !OnFind)
        return false;
    BusyScope busy(m_busy);
    m_folders.clear();
    bool Continue = true;
    collectFolders();
    const QString pattern = SearchName.isEmpty() ? AllNames : SearchName;
    try {
        const qsizetype count = m_folders.size();
        for (qsizetype i = 0; i < count; ++i)
            scanFolder(m_folders[i], pattern, Continue);
    } catch (const EAbort&) {
        return false;
    }
    return true;
}

void TSearchFile::DoFind(const QString& Name, const TSearchFileData& Data, bool& Continue)
{
    if (OnFind)
        OnFind(this, Name, Data, Continue);
}

void TSearchFile::cannotTake(const QString& Name, TUntakable Why)
{
    if (OnCannotTake)
        OnCannotTake(this, Name, Why);
}

void TSearchFile::DoFindDir(const QString& Name, const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir)
{
    if (OnFindDir)
        OnFindDir(this, Name, Data, Skip, IgnoreSubDir);
}

void TSearchFile::SearchDirOnFind(TSearchDir*, const QString& Name, const TSearchFileData& Data,
                                  bool& IgnoreSubDir, bool&)
{
    bool Skip = false;
    DoFindDir(Name, Data, Skip, IgnoreSubDir);
    if (!Skip)
        m_folders << Name;
}

void TSearchFile::collectFolders()
{
    if (Recursive) {
        // A walk that does not start leaves no folders; the search still counts as complete.
        m_searchDir.BaseDir = Directory;
        m_searchDir.Search();
    } else {
        m_folders << FullPath(Directory);
    }
}

void TSearchFile::scanFolder(const QString& folder, const QString& pattern, bool& Continue)
{
    const QString prefix = Paths::IncludeTrailingSeparator(folder);
    DirectoryListing listing(prefix);
    if (!listing.IsOpen())
        cannotTake(Printable(folder), TUntakable::utCannotRead);
    while (listing.Next()) {
        if (!listing.NameIsText()) {
            cannotTake(Printable(prefix) + PrintableBytes(listing.RawName()), TUntakable::utNameNotText);
            continue;
        }
        const QString name = listing.Name();
        if (!MatchesWildcard(name, pattern))
            continue;
        DoFind(prefix + name, ReadDetails ? listing.Data() : listing.Outline(), Continue);
        stopUnless(Continue);
    }
}
