#include "conversion/TargetPlan.h"
#include "tests/support/TempDir.h"

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

TEST(TargetPlan, ASourceSeenThroughALinkedFolderIsKnownAndAFileFromBeforeIsReplaced)
{
    TempDir dir;
    const QString source = dir.Write("real/a.mp4", "source");
    dir.Write("out/b.mp4", "left from an earlier run");
    ASSERT_TRUE(QFile::link(dir.File("real"), dir.File("link")));
    EXPECT_EQ(PlanTargets({source, dir.File("v/b.avi")}, dir.File("link")),
              QStringList({dir.File("link/a (2).mp4"), dir.File("link/b.mp4")}));
    EXPECT_EQ(PlanTargets({dir.File("v/b.avi")}, dir.File("out")), QStringList{dir.File("out/b.mp4")});
}

} // namespace
