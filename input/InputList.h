#pragma once

#include "input/PathListModel.h"
#include "input/SearchFile.h"
#include "platform/Events.h"

#include <atomic>

// A path a search could not take, as people can read it, and why.
struct UntakenPath {
    QString Name;
    TUntakable Why;
    bool operator==(const UntakenPath& other) const { return Name == other.Name && Why == other.Why; }
};

// The message that names the paths not taken, one line each; empty when there are none.
QString UntakenReport(const QList<UntakenPath>& untaken);

// What gathering paths found, ready to be merged into the list.
struct Intake {
    SortedPaths::Batch Found;
    QList<UntakenPath> Untaken;
    bool Stopped = false; // StopCollecting ended it: nothing of it is taken
};

// The paths the next conversion run takes, sorted with letter case ignored. A file path is added
// as a clean absolute path; a folder adds every regular file beneath it (or link to one), found by a
// recursive search, but not itself, its subfolders, pipes or devices. Paths that do not exist are skipped
// without a word. Each path is literal: no wildcard expansion.
class InputList
{
public:
    InputList();
    InputList(const InputList&) = delete;
    InputList& operator=(const InputList&) = delete;

    // Adds one dropped or named path.
    void AddPath(const QString& path);
    // Adds several paths with one merge into the list: Collect, then Take.
    void AddPaths(const QStringList& paths);

    // Readies the next Collect: forgets an earlier stop, counts from 0. Call it on the thread
    // that calls StopCollecting, so that no stop is lost to it.
    void PrepareToCollect();
    // Gathers the files `paths` stand for, leaving the list as it is. It may run on a thread of
    // its own while this object's own thread shows the list; one at a time, each prepared.
    Intake Collect(const QStringList& paths);
    // Ends the running or the next Collect early; safe from any thread. A stop signal (Ctrl+C)
    // ends it too.
    void StopCollecting() { m_stop = true; }
    // How many files the running Collect has found so far; safe from any thread.
    int FoundSoFar() const { return m_foundSoFar; }
    // Merges what Collect found (nothing when it was stopped) and fires OnChange.
    void Take(Intake intake);
    // Empties the list.
    void Clear();
    // Removes the paths at `indexes` (as the list shows them).
    void RemoveAt(const QList<int>& indexes);

    int Count() const { return m_model.Paths().Count(); }
    QString At(int index) const { return m_model.Paths().At(index); }
    const QStringList& Paths() const { return m_model.Paths().Paths(); }
    // Whether a run has anything to do: the drop panel hides and the start buttons work then.
    bool HasFiles() const { return Count() > 0; }
    // The list for a list view.
    QAbstractListModel* Model() { return &m_model; }

    // What the last take could not take: folders it could not read, names that are not text.
    const QList<UntakenPath>& Untaken() const { return m_untaken; }

    // Runs after every add and clear, with the model as Sender.
    TNotifyEvent OnChange;

    // The recursive search behind folder paths.
    TSearchFile SearchFile1;
    // Takes each regular file the search reports; folders, pipes and devices are not sources.
    void SearchFile1Find(TSearchFile* Sender, const QString& Name, const TSearchFileData& Data,
                         bool& Continue);

private:
    bool stopping() const;
    void collect(const QString& path);
    void searchFolder(const QString& folder);

    PathListModel m_model;
    // The running Collect's findings, merged into the list at its end.
    QStringList m_found;
    QList<UntakenPath> m_collectUntaken;
    std::atomic<bool> m_stop = false;
    std::atomic<int> m_foundSoFar = 0;
    // What the last Take could not take.
    QList<UntakenPath> m_untaken;
};
