#include "input/InputList.h"

#include "input/BusyCursor.h"
#include "input/DirectoryListing.h"
#include "input/FullPath.h"
#include "input/Wildcard.h"

namespace
{

const QString RootFolder = QStringLiteral("/");

} // namespace

InputList::InputList()
{
    SearchFile1.Recursive = true;
    // Only the folder flag decides what is taken.
    SearchFile1.ReadDetails = false;
    SearchFile1.OnFind = [this](TSearchFile* Sender, const QString& Name, const TSearchFileData& Data,
                                bool& Continue) { SearchFile1Find(Sender, Name, Data, Continue); };
    SearchFile1.OnCannotTake = [this](TSearchFile*, const QString& Name, TUntakable Why) {
        m_untaken << UntakenPath{Name, Why};
    };
}

QString UntakenReport(const QList<UntakenPath>& untaken)
{
    if (untaken.isEmpty())
        return QString();
    QString report = QStringLiteral("次のフォルダとファイルは読み込めないため、変換対象に加えませんでした。");
    for (const UntakenPath& path : untaken) {
        const QString why = path.Why == TUntakable::utCannotRead
                                ? QStringLiteral("読み込めないフォルダです")
                                : QStringLiteral("名前が UTF-8 ではありません");
        report += u'\n' + path.Name + QStringLiteral(" : ") + why;
    }
    return report;
}

void InputList::AddPath(const QString& path)
{
    AddPaths({path});
}

void InputList::AddPaths(const QStringList& paths)
{
    m_untaken.clear();
    for (const QString& path : paths)
        collect(path);
    m_model.Merge(m_found);
    m_found.clear();
    Fire(OnChange, &m_model);
}

void InputList::Clear()
{
    m_model.Clear();
    Fire(OnChange, &m_model);
}

void InputList::RemoveAt(const QList<int>& indexes)
{
    m_model.RemoveAt(indexes);
    Fire(OnChange, &m_model);
}

void InputList::SearchFile1Find(TSearchFile*, const QString& Name, const TSearchFileData& Data, bool&)
{
    // A pipe or device in a folder would hold up the encoder for ever; only files are sources.
    if (Data.IsRegularFile)
        m_found << Name;
}

void InputList::collect(const QString& path)
{
    switch (KindOf(path)) {
    case EntryKind::ekNone:
        return;
    case EntryKind::ekFile:
        m_found << path;
        return;
    case EntryKind::ekFolder:
        searchFolder(path);
        return;
    }
}

void InputList::searchFolder(const QString& folder)
{
    // A whole file system is never taken in.
    if (FullPath(folder) == RootFolder)
        return;
    const BusyCursor busy;
    SearchFile1.Directory = folder;
    SearchFile1.SearchName = AllNames;
    SearchFile1.Search();
}
