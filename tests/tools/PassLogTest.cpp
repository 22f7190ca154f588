// Pass logs and temporary thumbnails: private, found again, and cleaned up.
#include "tools/ffmpeg-front/PassLog.h"
#include "tests/tools/ScratchFolder.h"
#include "tools/ffmpeg-front/Thumbnail.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace
{

void touch(const std::string& path)
{
    std::ofstream(path) << "x";
}

bool exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

mode_t modeOf(const std::string& path)
{
    struct stat info = {};
    lstat(path.c_str(), &info);
    return info.st_mode & 0777;
}

// A process id that no process has any more.
pid_t finishedProcess()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

TEST(PassLog, MakesAPrivateFolderAndRefusesOthers)
{
    ScratchFolder scratch;
    const std::string folder = scratch.File("logs");
    EXPECT_EQ(PassLog::MakePrivate(folder, getuid()), "");
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(PassLog::MakePrivate(folder, getuid()), ""); // again: it is there already

    chmod(folder.c_str(), 0755);
    EXPECT_NE(PassLog::MakePrivate(folder, getuid()), "");
    EXPECT_NE(PassLog::MakePrivate(folder, getuid() + 1), "");

    const std::string link = scratch.File("link");
    ASSERT_EQ(symlink(scratch.Path().c_str(), link.c_str()), 0);
    EXPECT_NE(PassLog::MakePrivate(link, getuid()), "");
}

TEST(PassLog, BothPassesOfATargetShareOnePrefix)
{
    const std::string first = PassLog::Prefix("/logs", "/out/clip.mp4");
    EXPECT_EQ(first, PassLog::Prefix("/logs", "/out/clip.mp4"));
    EXPECT_NE(first, PassLog::Prefix("/logs", "/out/clip2.mp4"));
    EXPECT_EQ(first.rfind("/logs/", 0), 0u);
    EXPECT_EQ(first.find_first_of(" \n\"$", 6), std::string::npos);
}

TEST(PassLog, RemoveTakesTheLogAndItsCompanionsOnly)
{
    ScratchFolder scratch;
    const std::string prefix = PassLog::Prefix(scratch.Path(), "/out/a.mp4");
    const std::string other = PassLog::Prefix(scratch.Path(), "/out/b.mp4");
    for (const char* suffix : {"-0.log", "-0.log.mbtree", "-0.log.temp"})
        touch(prefix + suffix);
    touch(other + "-0.log");

    PassLog::Remove(prefix);

    EXPECT_FALSE(exists(prefix + "-0.log"));
    EXPECT_FALSE(exists(prefix + "-0.log.mbtree"));
    EXPECT_FALSE(exists(prefix + "-0.log.temp"));
    EXPECT_TRUE(exists(other + "-0.log"));
}

TEST(PassLog, StaleLogsAreRemovedFreshOnesKept)
{
    ScratchFolder scratch;
    const std::string stale = scratch.File("old-0.log");
    const std::string fresh = scratch.File("new-0.log");
    touch(stale);
    touch(fresh);
    const std::time_t now = std::time(nullptr);
    const utimbuf longAgo{now - PassLog::StaleAfterSeconds - 60, now - PassLog::StaleAfterSeconds - 60};
    utime(stale.c_str(), &longAgo);

    PassLog::RemoveStale(scratch.Path(), now);

    EXPECT_FALSE(exists(stale));
    EXPECT_TRUE(exists(fresh));
}

TEST(ThumbnailTemp, OrphansOfEndedGrabsAreRemoved)
{
    ScratchFolder scratch;
    const std::string output = scratch.File("_thumb.jpg");
    const std::string orphan = ThumbnailTempPath(output, finishedProcess());
    const std::string running = ThumbnailTempPath(output, getpid());
    const std::string otherOutput = ThumbnailTempPath(scratch.File("other.jpg"), finishedProcess());
    for (const std::string& path : {orphan, running, otherOutput})
        touch(path);

    RemoveOrphanTemps(output);

    EXPECT_FALSE(exists(orphan));
    EXPECT_TRUE(exists(running));
    EXPECT_TRUE(exists(otherOutput));
}

} // namespace
