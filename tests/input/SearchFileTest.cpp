#include "input/SearchFile.h"
#include "platform/Errors.h"
#include "tests/input/Scoped.h"
#include "tests/support/TempDir.h"

#include <QFile>
#include <QFileInfo>
#include <dirent.h>
#include <gtest/gtest.h>
#include <map>
#include <stdexcept>

namespace
{

// The entries of `folder` in the order readdir gives them.
QStringList listingOrder(const QString& folder)
{
    QStringList names;
    DIR* dir = opendir(QFile::encodeName(folder).constData());
    while (dirent* entry = readdir(dir))
        if (strcmp(entry->d_name, ".") != 0 && strcmp(entry->d_name, "..") != 0)
            names << folder + u'/' + QFile::decodeName(entry->d_name);
    closedir(dir);
    return names;
}

QSet<QString> asSet(const QStringList& list)
{
    return QSet<QString>(list.begin(), list.end());
}

class SearchFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        search.Recursive = true;
        search.Directory = dir.Path();
        search.OnFind = [this](TSearchFile*, const QString& name, const TSearchFileData& data, bool& go) {
            found << name;
            records[name] = data;
            if (onFind)
                onFind(name, go);
        };
        search.OnFindDir = [this](TSearchFile*, const QString& name, const TSearchFileData&, bool& skip,
                                  bool& ignore) {
            folders << name;
            if (onFindDir)
                onFindDir(name, skip, ignore);
        };
    }

    QString path(const char* relative) const { return dir.File(QString::fromUtf8(relative)); }
    QSet<QString> paths(std::initializer_list<const char*> relatives) const
    {
        QSet<QString> set;
        for (const char* relative : relatives)
            set << path(relative);
        return set;
    }
    void write(std::initializer_list<const char*> files) const
    {
        for (const char* file : files)
            dir.Write(QString::fromUtf8(file));
    }
    // Runs the search afresh and returns the names found.
    QSet<QString> run()
    {
        found.clear();
        folders.clear();
        result = search.Search();
        return asSet(found);
    }

    TempDir dir;
    TSearchFile search;
    bool result = false;
    QStringList found;
    QStringList folders;
    std::map<QString, TSearchFileData> records;
    std::function<void(const QString&, bool&)> onFind;
    std::function<void(const QString&, bool&, bool&)> onFindDir;
};

} // namespace

TEST_F(SearchFileTest, ReportsFoldersBreadthFirstAndEntriesInListingOrder)
{
    write({"a.avi", "c.txt", "one/b.avi", "one/two/c.avi", "one/two/three/d.avi", "side/e.avi"});
    run();
    EXPECT_TRUE(result);
    QStringList expectedFolders{dir.Path()};
    QStringList expectedEntries;
    for (qsizetype i = 0; i < expectedFolders.size(); ++i) {
        for (const QString& entry : listingOrder(expectedFolders[i])) {
            expectedEntries << entry;
            if (QFileInfo(entry).isDir())
                expectedFolders << entry;
        }
    }
    EXPECT_EQ(folders, expectedFolders);
    EXPECT_EQ(folders.mid(3), QStringList({path("one/two"), path("one/two/three")}));
    EXPECT_EQ(found, expectedEntries);
    EXPECT_TRUE(records[path("one")].IsDirectory);
}

TEST_F(SearchFileTest, TrailingSeparatorAndRelativeDirectoriesGiveTheSameAbsoluteNames)
{
    write({"a.avi", "sub/b.avi"});
    const QSet<QString> plain = run();
    search.Directory = dir.Path() + u'/';
    EXPECT_EQ(run(), plain);
    EXPECT_EQ(folders, QStringList({dir.Path() + u'/', path("sub")})); // never "//"
    const ScopedCurrentFolder current(path("sub"));
    search.Directory = QStringLiteral("../sub/..");
    EXPECT_EQ(run(), plain);
}

TEST_F(SearchFileTest, PatternPicksNamesButTheWalkStillVisitsEveryFolder)
{
    write({"a.avi", "B.AVI", "noext", "c.txt", "sub/d.Avi", "sub/e.mpg"});
    search.SearchName = QStringLiteral("*.avi");
    EXPECT_EQ(run(), paths({"a.avi", "B.AVI", "sub/d.Avi"}));
    search.SearchName.clear(); // every name
    EXPECT_EQ(run().size(), 7);
}

TEST_F(SearchFileTest, NonRecursiveListsOnlyTheFolderItself)
{
    write({"a.avi", "sub/b.avi"});
    search.Recursive = false;
    EXPECT_EQ(run(), paths({"a.avi", "sub"}));
    EXPECT_TRUE(folders.isEmpty());
}

TEST_F(SearchFileTest, SkipLeavesOutEntriesAndIgnoreSubDirStopsTheDescent)
{
    write({"a.avi", "s1/b.avi", "s1/s2/c.avi"});
    const QString s1 = path("s1");
    onFindDir = [&](const QString& name, bool&, bool& ignore) { ignore = name == s1; };
    EXPECT_EQ(run(), paths({"a.avi", "s1", "s1/b.avi", "s1/s2"}));
    onFindDir = [&](const QString& name, bool& skip, bool&) { skip = name == s1; };
    EXPECT_EQ(run(), paths({"a.avi", "s1", "s1/s2/c.avi"}));
}

TEST_F(SearchFileTest, ContinueFalseOrEAbortFromOnFindStopsAtOnce)
{
    write({"1", "2", "3", "4", "5"});
    onFind = [&](const QString&, bool& go) { go = found.size() < 3; };
    EXPECT_EQ(run().size(), 3);
    EXPECT_FALSE(result);
    onFind = [&](const QString&, bool&) {
        if (found.size() == 2)
            throw EAbort();
    };
    EXPECT_EQ(run().size(), 2);
    EXPECT_FALSE(result);
}

TEST_F(SearchFileTest, EAbortFromOnFindDirEndsOnlyTheWalk)
{
    write({"a.avi", "s/b.avi", "s/t/c.avi"});
    onFindDir = [&](const QString& name, bool&, bool&) {
        if (name == path("s"))
            throw EAbort();
    };
    EXPECT_EQ(run(), paths({"a.avi", "s"}));
    EXPECT_TRUE(result);
}

TEST_F(SearchFileTest, OtherErrorsPassOutAndLeaveTheSearchUsable)
{
    write({"a.avi"});
    onFind = [](const QString&, bool&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(search.Search(), std::runtime_error);
    EXPECT_FALSE(search.Busy());
    onFind = nullptr;
    EXPECT_TRUE(search.Search());
}

TEST_F(SearchFileTest, SearchFromInsideAHandlerReturnsFalseAndFiresNothing)
{
    write({"a.avi", "b.avi"});
    int refused = 0;
    onFind = [&](const QString&, bool&) { refused += search.Busy() && !search.Search(); };
    EXPECT_EQ(run().size(), 2);
    EXPECT_TRUE(result);
    EXPECT_EQ(refused, 2);
}

TEST_F(SearchFileTest, NothingHappensWithoutOnFindOrAnExistingFolder)
{
    write({"a.avi"});
    const TFindFileEvent handler = search.OnFind;
    search.OnFind = nullptr;
    EXPECT_FALSE(search.Search());
    EXPECT_TRUE(folders.isEmpty());
    search.OnFind = handler;
    search.Directory = path("missing");
    for (const bool recursive : {true, false}) {
        search.Recursive = recursive;
        EXPECT_TRUE(run().isEmpty() && folders.isEmpty());
        EXPECT_TRUE(result);
    }
}

class SearchFileLinks : public SearchFileTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(SearchFileLinks, LinksToFoldersAreReportedButNeverWalked)
{
    search.ReadDetails = GetParam();
    dir.Write(QStringLiteral("a.avi"), "12345");
    write({"sub/b.avi"});
    QFile::link(dir.Path(), path("sub/loop"));
    QFile::link(QStringLiteral(".."), path("sub/back"));
    QFile::link(path("a.avi"), path("sub/a-link.avi"));
    EXPECT_EQ(run(), paths({"a.avi", "sub", "sub/b.avi", "sub/loop", "sub/back", "sub/a-link.avi"}));
    EXPECT_EQ(folders, QStringList({dir.Path(), path("sub")}));
    EXPECT_TRUE(records[path("sub/loop")].IsDirectory && records[path("sub/back")].IsDirectory);
    EXPECT_FALSE(records[path("sub/a-link.avi")].IsDirectory);
    EXPECT_EQ(records[path("sub/a-link.avi")].Size, GetParam() ? 5 : 0); // sizes only with details
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutDetails, SearchFileLinks, ::testing::Bool());

TEST_F(SearchFileTest, RecordsDescribeTheEntry)
{
    const QString clipPath = dir.Write(QStringLiteral("clip.avi"), "12345");
    QFile::setPermissions(dir.Write(QStringLiteral("locked")), QFile::ReadOwner);
    write({".hidden", "sub/x"});
    search.Recursive = false;
    run();

    const TSearchFileData& clip = records[clipPath];
    EXPECT_EQ(clip.FileName, "clip.avi");
    EXPECT_EQ(clip.ShortName, "clip.avi");
    EXPECT_EQ(clip.Size, 5);
    EXPECT_FALSE(clip.IsHidden || clip.IsReadOnly || clip.IsSystem || clip.IsArchive || clip.IsDirectory);
    EXPECT_TRUE(records[path(".hidden")].IsHidden);
    EXPECT_TRUE(records[path("locked")].IsReadOnly);
    EXPECT_TRUE(records[path("sub")].IsDirectory);
    EXPECT_EQ(records[path("sub")].Size, 0);
}

TEST(SearchDir, ReportsTheBaseFirstAndStopsWhereTold)
{
    TSearchDir walk;
    walk.BaseDir = QStringLiteral("/");
    EXPECT_FALSE(walk.Search()); // no OnFind
    QStringList names;
    walk.OnFind = [&](TSearchDir*, const QString& name, const TSearchFileData& data, bool& ignore, bool&) {
        names << name;
        EXPECT_TRUE(data.FileName.isEmpty() && !data.IsDirectory); // a root has no entry of its own
        ignore = true;
    };
    EXPECT_TRUE(walk.Search());
    EXPECT_EQ(names, QStringList({QStringLiteral("/")}));

    TempDir dir;
    walk.BaseDir = dir.File(QStringLiteral("missing"));
    EXPECT_FALSE(walk.Search());
    walk.BaseDir = dir.Path();
    walk.OnFind = [](TSearchDir*, const QString&, const TSearchFileData&, bool&, bool& go) { go = false; };
    EXPECT_FALSE(walk.Search());
    EXPECT_FALSE(walk.Busy());
}
