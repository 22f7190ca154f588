#include "input/InputList.h"
#include "input/BackgroundIntake.h"
#include "platform/Errors.h"
#include "platform/FileChecks.h"
#include "tests/input/Scoped.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QSignalSpy>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{

class InputListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        list.OnChange = [this](QObject* sender) { changes += sender == list.Model(); };
    }

    QString path(const char* relative) const { return dir.File(QString::fromUtf8(relative)); }
    QString write(const char* relative) const { return dir.Write(QString::fromUtf8(relative)); }

    TempDir dir;
    InputList list;
    int changes = 0;
};

// The reference: each path inserted on its own after the paths that compare equal to it.
QStringList insertedOneByOne(const QStringList& paths)
{
    QStringList sorted;
    for (const QString& path : paths)
        sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), path,
                                       [](const QString& a, const QString& b) {
                                           return a.compare(b, Qt::CaseInsensitive) < 0;
                                       }),
                      path);
    return sorted;
}

} // namespace

TEST_F(InputListTest, SortsIgnoringCaseAndKeepsDuplicatesInArrivalOrder)
{
    const QString b = write("B.avi");
    list.AddPaths({b, write("a.mpg"), write("C.wmv")});
    list.AddPath(b);
    EXPECT_EQ(list.Paths(), QStringList({path("a.mpg"), b, b, path("C.wmv")}));
    // A new path goes after those equal to it, as inserting at its sorted place would put it.
    const QString lower = write("b.avi");
    list.AddPaths({lower, b});
    EXPECT_EQ(list.Paths(), QStringList({path("a.mpg"), b, b, lower, b, path("C.wmv")}));
    EXPECT_EQ(changes, 3);
}

TEST(SortedPaths, MergingBatchesEqualsInsertingOneByOne)
{
    // Folders too, as one that begins another ("a/z" sorts after "a b/c", as the whole paths do).
    const QStringList names{"a", "A", "b", "B",  "ab", "Ab",    "a/b", "a.b", "_x",    "Z",
                            "é", "É", "1", "/x", "x/", "a b/c", "a/z", "A/B", "a/é/b", "a/É"};
    QRandomGenerator random(7);
    SortedPaths sorted;
    QStringList all;
    for (int batch = 0; batch < 20; ++batch) {
        QStringList paths;
        for (int i = random.bounded(6); i > 0; --i)
            paths << names[random.bounded(names.size())];
        sorted.Merge(paths);
        all << paths;
    }
    EXPECT_EQ(sorted.Paths(), insertedOneByOne(all));
    EXPECT_THROW(sorted.At(sorted.Count()), EListError);
}

TEST(SortedPaths, RemovesTheRowsGivenInAnyOrderOnceAndPassesOverOthers)
{
    SortedPaths sorted;
    sorted.Merge(QStringList{"/v/a", "/v/b", "/v/c", "/v/d", "/v/e", "/w/f"});
    const QStringList before = sorted.Paths();
    sorted.RemoveAt({4, 1, 2, 4, -1, 6});
    EXPECT_EQ(sorted.Paths(), (QStringList{"/v/a", "/v/d", "/w/f"}));
    EXPECT_EQ(before, (QStringList{"/v/a", "/v/b", "/v/c", "/v/d", "/v/e", "/w/f"}))
        << "a copy taken before keeps its paths";
    sorted.RemoveAt({0, 1, 2});
    EXPECT_EQ(sorted.Count(), 0);
}

TEST_F(InputListTest, FolderAddsTheVideosBeneathItButNoOtherFileNorAWritingRunsOwnFiles)
{
    for (const char* file :
         {"m/one.avi", "m/sub/two.MKV", "m/.hidden.avi", "m/notes.txt", "m/folder.jpg", "m/clip.srt",
          "m/Thumbs.db", "m/.one.mp4.korumi-lock", "m/.one.mp4.korumi-tmp-Ab3dE9.mp4"})
        write(file);
    dir.MakeDir(QStringLiteral("m/empty"));
    QFile::link(path("m"), path("m/sub/loop"));
    QFile::link(path("m/one.avi"), path("m/sub/link.avi"));
    const QStringList expected{path("m/.hidden.avi"), path("m/one.avi"), path("m/sub/link.avi"),
                               path("m/sub/two.MKV")};
    list.AddPath(path("m"));
    EXPECT_EQ(list.Paths(), expected);
    list.Clear();
    list.AddPath(path("m/")); // as shells complete a folder
    EXPECT_EQ(list.Paths(), expected);
}

TEST_F(InputListTest, MissingPathsEmptyFoldersAndTheRootAddNothing)
{
    dir.MakeDir(QStringLiteral("empty"));
    list.AddPaths({path("missing.avi"), path("empty"), QStringLiteral("/"), QStringLiteral("//"), QString()});
    EXPECT_FALSE(list.HasFiles());
    EXPECT_EQ(changes, 1);
    const QString file = write("v/a.avi");
    list.AddPaths({file, path("gone"), path("v")});
    EXPECT_EQ(list.Paths(), QStringList({file, file}));
    EXPECT_TRUE(list.HasFiles());
}

TEST_F(InputListTest, ArgumentsAreLiteralPathsListedWholeAndClean)
{
    const QString file = write("v/a.avi");
    const QString starred = write("w/*.avi");
    const QString behindLink = write("deep/x.avi");
    write("x.avi"); // where "link/../x.avi" would lead if ".." were folded by the text alone
    ASSERT_TRUE(QFile::link(path("deep/sub"), path("link")) && QDir().mkpath(path("deep/sub")));
    const ScopedCurrentFolder current(dir.Path());
    list.AddPaths({path("v/*.avi"), starred, QStringLiteral("v/./a.avi"), QStringLiteral("w/../v//a.avi"),
                   QStringLiteral("w"), QStringLiteral("link/../x.avi")});
    // No expansion; relative and untidy paths become whole clean paths, but a ".." after a link
    // keeps its meaning; a relative folder gives full paths.
    EXPECT_EQ(list.Paths(), QStringList({path("link/../x.avi"), file, file, starred, starred}));
    EXPECT_TRUE(IsSameFile(list.At(0), behindLink));
}

TEST_F(InputListTest, LongPathsAreKeptWhole)
{
    const QString name = QString(80, u'長'); // 240 bytes, near the limit for one name
    const QString file = dir.Write(name + u'/' + name + u'/' + name + QStringLiteral(".avi"));
    ASSERT_GT(QFile::encodeName(file).size(), 720);
    list.AddPath(dir.Path());
    EXPECT_EQ(list.Paths(), QStringList({file}));
}

TEST_F(InputListTest, AFolderFillsTheModelInOneReset)
{
    for (const char* file : {"m/1.avi", "m/2.avi", "m/s/3.avi"})
        write(file);
    QSignalSpy resets(list.Model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(list.Model(), &QAbstractItemModel::rowsInserted);
    list.AddPath(path("m"));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    ASSERT_EQ(list.Model()->rowCount(), 3);
    EXPECT_EQ(list.Model()->index(2).data().toString(), path("m/s/3.avi"));

    list.Clear();
    EXPECT_EQ(list.Model()->rowCount(), 0);
    EXPECT_FALSE(list.HasFiles());
    EXPECT_EQ(changes, 2);
}

TEST_F(InputListTest, ABackgroundSearchCountsAsItGoesAndAStoppedOneTakesNothing)
{
    for (const char* file : {"m/1.avi", "m/2.avi", "m/s/3.avi"})
        write(file);
    list.AddPath(path("m/1.avi"));
    // The search holds at its first find until the test lets it go on.
    QSemaphore found;
    QSemaphore goOn;
    const TFindFileEvent take = list.SearchFile1.OnFind;
    list.SearchFile1.OnFind = [&](TSearchFile* sender, const QString& name, const TSearchFileData& data,
                                  bool& go) {
        take(sender, name, data, go);
        found.release();
        goOn.acquire();
    };
    BackgroundIntake intake(list);
    QSignalSpy finished(&intake, &BackgroundIntake::Finished);

    ASSERT_TRUE(intake.Start({path("m")}));
    found.acquire();
    EXPECT_FALSE(intake.Start({path("m")})) << "one search at a time";
    EXPECT_EQ(list.FoundSoFar(), 1);
    EXPECT_EQ(list.Count(), 1) << "the list changes only at the end";
    intake.Stop();
    goOn.release(3);
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_TRUE(finished.first().first().toBool());
    EXPECT_EQ(list.Paths(), QStringList{path("m/1.avi")});

    list.SearchFile1.OnFind = take;
    ASSERT_TRUE(intake.Start({path("m")}));
    ASSERT_TRUE(finished.wait(60000));
    EXPECT_FALSE(finished.last().first().toBool());
    EXPECT_EQ(list.Paths(),
              QStringList({path("m/1.avi"), path("m/1.avi"), path("m/2.avi"), path("m/s/3.avi")}));
}
