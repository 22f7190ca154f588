#pragma once

#include "input/SearchFileData.h"

#include <QStringList>
#include <deque>
#include <functional>

class TSearchDir;
class TSearchFile;

// Called for each entry found; set Continue to false to stop the whole search.
using TFindFileEvent = std::function<void(TSearchFile* Sender, const QString& Name,
                                          const TSearchFileData& Data, bool& Continue)>;
// Called for each folder the walk meets; Skip leaves its entries out, IgnoreSubDir its subfolders.
using TFindDirEvent = std::function<void(TSearchFile* Sender, const QString& Name,
                                         const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir)>;
// Called for what a search cannot take: a folder it cannot read, or an entry whose name is not
// text (`Name` then shows its bytes as Printable does).
// A path given that is missing, or neither a regular file nor a folder (a pipe would hold up the
// encoder for ever), is not taken either.
enum class TUntakable { utCannotRead, utNameNotText, utNotFound, utNotFileOrFolder };
using TCannotTakeEvent = std::function<void(TSearchFile* Sender, const QString& Name, TUntakable Why)>;
// Called for each folder of a walk; IgnoreSubDir stops the descent there, Continue false the walk.
using TSearchDirEvent = std::function<void(TSearchDir* Sender, const QString& Name,
                                           const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue)>;

// Walks a folder tree breadth-first and reports every folder: the base folder, its subfolders in
// listing order, then theirs, level by level. Links to folders are never entered. A handler may
// throw EAbort to stop the walk quietly.
class TSearchDir
{
public:
    TSearchDir() = default;
    virtual ~TSearchDir() = default;
    TSearchDir(const TSearchDir&) = delete;
    TSearchDir& operator=(const TSearchDir&) = delete;

    // Runs the walk; false when it did not start (already running, no OnFind, BaseDir missing)
    // or was stopped.
    bool Search();
    // Whether a walk is running.
    bool Busy() const { return m_busy; }

    QString BaseDir; // where the walk starts; may be relative
    TSearchDirEvent OnFind;

protected:
    virtual void DoFind(const QString& Name, const TSearchFileData& Data, bool& IgnoreSubDir, bool& Continue);

private:
    void walk(const QString& base);
    void visit(const QString& folder, const TSearchFileData& data, bool& Continue);

    std::deque<QString> m_queue;
    bool m_busy = false;
};

// Lists the entries of a folder, with Recursive of every folder beneath it, and reports each
// entry whose name matches SearchName, folders included, to OnFind. All folders are collected
// first, then scanned in walk order; entries come in listing order. A handler may throw EAbort
// to stop quietly.
class TSearchFile
{
public:
    TSearchFile();
    virtual ~TSearchFile() = default;
    TSearchFile(const TSearchFile&) = delete;
    TSearchFile& operator=(const TSearchFile&) = delete;

    // Runs the search; false when it did not start (already running, no OnFind) or was stopped.
    bool Search();
    // Whether a search is running.
    bool Busy() const { return m_busy; }

    QString Directory;      // the folder to search; may be relative or end in a separator
    bool Recursive = false; // also search every folder beneath it
    QString SearchName;     // the name pattern; empty means every name
    // Whether OnFind's records carry sizes and the read-only flag. Off, they hold the names
    // and the folder and hidden flags only, which spares a status call per entry in large trees.
    bool ReadDetails = true;
    TFindFileEvent OnFind;
    TFindDirEvent OnFindDir;
    TCannotTakeEvent OnCannotTake;

protected:
    virtual void DoFind(const QString& Name, const TSearchFileData& Data, bool& Continue);
    virtual void DoFindDir(const QString& Name, const TSearchFileData& Data, bool& Skip, bool& IgnoreSubDir);
    // The walk's handler: offers each folder to OnFindDir and keeps those not skipped.
    void SearchDirOnFind(TSearchDir* Sender, const QString& Name, const TSearchFileData& Data,
                         bool& IgnoreSubDir, bool& Continue);

private:
    void cannotTake(const QString& Name, TUntakable Why);
    void collectFolders();
    void scanFolder(const QString& folder, const QString& pattern, bool& Continue);

    TSearchDir m_searchDir;
    QStringList m_folders;
    bool m_busy = false;
};
