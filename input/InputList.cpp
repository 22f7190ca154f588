#include "input/InputList.h"

#include "input/DirectoryListing.h"
#include "input/FullPath.h"
#include "input/VideoNames.h"
#include "input/Wildcard.h"
#include "platform/Printable.h"
#include "platform/StopSignals.h"
#include "platform/WorkingFiles.h"

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
        m_collectUntaken << UntakenPath{Name, Why};
    };
}

namespace
{
QString whyUntaken(TUntakable why)
{
    switch (why) {
    case TUntakable::utCannotRead:
        return QStringLiteral("読み込めないフォルダです");
    case TUntakable::utNameNotText:
        return QStringLiteral("名前が UTF-8 ではありません");
    case TUntakable::utNotFound:
        return QStringLiteral("見つかりません");
    case TUntakable::utNotFileOrFolder:
        return QStringLiteral("ファイルでもフォルダでもありません");
    }
    return QString();
}
} // namespace

QString UntakenReport(const QList<UntakenPath>& untaken)
{
    if (untaken.isEmpty())
        return QString();
    QString report = QStringLiteral("次のフォルダとファイルは読み込めないため、変換対象に加えませんでした。");
    for (const UntakenPath& path : untaken)
        report += u'\n' + path.Name + QStringLiteral(" : ") + whyUntaken(path.Why);
    return report;
}

void InputList::AddPath(const QString& path)
{
    AddPaths({path});
}

void InputList::AddPaths(const QStringList& paths)
{
    PrepareToCollect();
    Take(Collect(paths));
}

void InputList::PrepareToCollect()
{
    m_stop = false;
    m_foundSoFar = 0;
}

bool InputList::stopping() const
{
    return m_stop || StopSignals::First() != 0;
}

Intake InputList::Collect(const QStringList& paths)
{
    for (const QString& path : paths)
        collect(path);
    Intake intake;
    intake.Stopped = stopping();
    // Sorted here, so that a list being shown takes a large find in one quick merge.
    if (!intake.Stopped)
        intake.Found = SortedPaths::Batch(std::move(m_found));
    if (!intake.Stopped)
        intake.Untaken = std::move(m_collectUntaken);
    m_found.clear();
    m_collectUntaken.clear();
    return intake;
}

void InputList::Take(Intake intake)
{
    m_untaken = std::move(intake.Untaken);
    m_model.Merge(std::move(intake.Found));
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

void InputList::SearchFile1Find(TSearchFile*, const QString& Name, const TSearchFileData& Data,
                                bool& Continue)
{
    // A pipe or device in a folder would hold up the encoder for ever; only video files are
    // sources, and not the temporary files of a run that writes into the folder.
    if (Data.IsRegularFile && IsVideoFileName(Data.FileName) && !WorkingFiles::IsWorkingFile(Data.FileName)) {
        m_found.append(Name);
        ++m_foundSoFar;
    }
    Continue = !stopping();
}

void InputList::collect(const QString& path)
{
    if (stopping())
        return;
    switch (KindOf(path)) {
    case EntryKind::ekNone:
        m_collectUntaken << UntakenPath{Printable(path), TUntakable::utNotFound};
        return;
    case EntryKind::ekOther:
        m_collectUntaken << UntakenPath{Printable(path), TUntakable::utNotFileOrFolder};
        return;
    case EntryKind::ekFile:
        // Listed as a whole path: a relative one would change its meaning with the current folder.
        m_found.append(CleanFilePath(path));
        ++m_foundSoFar;
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
    SearchFile1.Directory = folder;
    SearchFile1.SearchName = AllNames;
    SearchFile1.Search();
}
