#include "conversion/TargetPlan.h"
#include "conversion/TargetClaims.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace
{

TEST(TargetPlan, NoTargetIsASourceOrAnEarlierTarget)
{
    struct Case {
        QStringList sources;
        QString folder;
        QStringList targets;
    };
    const Case cases[] = {
        {{"/v/a.avi", "/v/b.mkv"}, "/out", {"/out/a.mp4", "/out/b.mp4"}},
        {{"/f/a.avi", "/f/a.mp4"}, "/f", {"/f/a (2).mp4", "/f/a (3).mp4"}},
        {{"/d1/a.avi", "/d2/a.avi", "/d3/a.avi"}, "/out", {"/out/a.mp4", "/out/a (2).mp4", "/out/a (3).mp4"}},
        {{"/v/audio.mp3", "/v/audio.wav"}, "/out", {"/out/audio.mp4", "/out/audio (2).mp4"}},
        {{"/v/clip.tar.avi", "/w/clip.tar.mov"}, "/out", {"/out/clip.tar.mp4", "/out/clip.tar (2).mp4"}},
        {{"/v/clip.avi"}, "/videos//out/./", {"/videos/out/clip.mp4"}},
        {{"/v/a.avi"}, "/", {"/a.mp4"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanTargets(c.sources, c.folder), c.targets) << c.sources.join(' ').toStdString();
}

TEST(TargetPlan, FilesOnDisk)
{
    TempDir dir;
    const QString source = dir.Write("real/a.mp4", "source");
    dir.Write("out/b.mp4", "left from an earlier run");
    dir.Write("out/clip (2).mp4", "the user's own");
    ASSERT_TRUE(QFile::link(dir.File("real"), dir.File("link")));
    // A source seen through a linked folder is known as the same file.
    EXPECT_EQ(PlanTargets({source, dir.File("v/b.avi")}, dir.File("link")),
              QStringList({dir.File("link/a (2).mp4"), dir.File("link/b.mp4")}));
    // A plain name is replaced as usual; a made-up one never takes a file that is there.
    const QStringList sources{dir.File("v/b.avi"), dir.File("v/clip.avi"), dir.File("v/clip.mkv")};
    EXPECT_EQ(PlanTargets(sources, dir.File("out")),
              QStringList({dir.File("out/b.mp4"), dir.File("out/clip.mp4"), dir.File("out/clip (3).mp4")}));
    // Resuming a batch, what is there is what an earlier run of the same files wrote.
    EXPECT_EQ(PlanTargets(sources, dir.File("out"), FoundFiles::EarlierResults),
              QStringList({dir.File("out/b.mp4"), dir.File("out/clip.mp4"), dir.File("out/clip (2).mp4")}));
}

TEST(TargetClaims, ALiveRunsTargetIsNeverSharedAndADeadRunBlocksNothing)
{
    TempDir dir;
    const QString wanted = dir.File("a.mp4");
    dir.Write("a (2).mp4", "the user's own");
    const QStringList firstPlan{wanted};
    const QStringList secondPlan{wanted, dir.File("a (3).mp4")};
    TargetClaims first(firstPlan);
    TargetClaims second(secondPlan); // its own claims: another open file, as another process has
    EXPECT_EQ(first.Claim(wanted, wanted).Target, wanted);
    EXPECT_EQ(second.Claim(wanted, wanted).Target, dir.File("a (4).mp4"))
        << "not the live run's, the user's file, nor its own plan's";

    // A lock file from a run that died claims nothing, and a later run removes it.
    dir.Write(".b.mp4.korumi-lock", "");
    EXPECT_EQ(second.Claim(dir.File("b.mp4"), dir.File("b.mp4")).Target, dir.File("b.mp4"));
    second.Release(dir.File("b.mp4"));
    dir.Write(".c.mp4.korumi-lock", "");
    TargetClaims::RemoveStale(dir.Path());
    EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".a (4).mp4.korumi-lock", ".a.mp4.korumi-lock", "a (2).mp4"}));

    first.Release(wanted);
    EXPECT_EQ(second.Claim(wanted, wanted).Target, wanted);
}

TEST(TargetClaims, TargetsWithTheLongestNamesAreClaimedEachOnItsOwn)
{
    TempDir dir;
    // 255 bytes each, told apart only by their last characters.
    const QString stem = QString(83, QChar(0x52D5)); // 動: three bytes in UTF-8
    const QStringList targets{dir.File(stem + "1.mp4"), dir.File(stem + "2.mp4")};
    const QStringList plan(targets);
    TargetClaims first(plan);
    TargetClaims second(plan);
    for (const QString& target : targets)
        EXPECT_EQ(first.Claim(target, target).Target, target);
    for (const QString& target : targets)
        EXPECT_NE(second.Claim(target, target).Target, target) << "held by the first run";
}

} // namespace
