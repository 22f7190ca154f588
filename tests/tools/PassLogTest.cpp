// Pass logs: private, found again, and cleaned up.
#include "tools/ffmpeg-front/PassLog.h"
#include "tests/tools/ScratchFolder.h"

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

TEST(PassLog, LivesInTheRuntimeFolderElseInTheUsersOwnCacheNeverInASharedOne)
{
    struct Case {
        const char *runtime, *cache, *home, *folder;
    };
    const Case cases[] = {
        {"/run/user/7", "/c", "/h", "/run/user/7/korumi-passlog"},
        {nullptr, "/c", "/h", "/c/korumi/passlog-box"},
        {"", nullptr, "/h", "/h/.cache/korumi/passlog-box"},
        {"run", "cache", "/h", "/h/.cache/korumi/passlog-box"}, // relative ones mean nothing
        {nullptr, nullptr, "h", ""},
        {nullptr, nullptr, nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassLog::FolderPath(c.runtime, c.cache, c.home, "box"), c.folder)
            << (c.runtime ? c.runtime : "(unset)") << ' ' << (c.cache ? c.cache : "(unset)");
}

TEST(PassLog, MakesAPrivateFolderAndRefusesOthers)
{
    ScratchFolder scratch;
    const std::string folder = scratch.File("cache/korumi/logs"); // a cache folder not made yet
    EXPECT_EQ(PassLog::MakePrivate(folder, getuid()), "");
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(scratch.File("cache")), 0700u);
    EXPECT_EQ(PassLog::MakePrivate(folder, getuid()), ""); // again: it is there already

    chmod(folder.c_str(), 0755);
    EXPECT_NE(PassLog::MakePrivate(folder, getuid()), "");
    EXPECT_NE(PassLog::MakePrivate(folder, getuid() + 1), "");

    const std::string link = scratch.File("link");
    ASSERT_EQ(symlink(scratch.Path().c_str(), link.c_str()), 0);
    EXPECT_NE(PassLog::MakePrivate(link, getuid()), "");
}

TEST(PassLog, BothPassesOfATargetInOneRunShareOnePrefix)
{
    const std::string first = PassLog::Prefix("/logs", "/out/clip.mp4", 12);
    EXPECT_EQ(first, PassLog::Prefix("/logs", "/out/clip.mp4", 12));
    EXPECT_NE(first, PassLog::Prefix("/logs", "/out/clip2.mp4", 12));
    EXPECT_NE(first, PassLog::Prefix("/logs", "/out/clip.mp4", 13));
    EXPECT_EQ(first.rfind("/logs/", 0), 0u);
    EXPECT_EQ(first.find_first_of(" \n\"$", 6), std::string::npos);
}

TEST(PassLog, RemoveTakesTheLogAndItsCompanionsOnly)
{
    ScratchFolder scratch;
    const std::string prefix = PassLog::Prefix(scratch.Path(), "/out/a.mp4", 12);
    const std::string others[] = {PassLog::Prefix(scratch.Path(), "/out/b.mp4", 12),
                                  PassLog::Prefix(scratch.Path(), "/out/a.mp4", 123)};
    for (const char* suffix : {"-0.log", "-0.log.mbtree", "-0.log.temp"})
        touch(prefix + suffix);
    for (const std::string& other : others)
        touch(other + "-0.log");

    PassLog::Remove(prefix);

    EXPECT_FALSE(exists(prefix + "-0.log"));
    EXPECT_FALSE(exists(prefix + "-0.log.mbtree"));
    EXPECT_FALSE(exists(prefix + "-0.log.temp"));
    for (const std::string& other : others)
        EXPECT_TRUE(exists(other + "-0.log")) << other;
}

TEST(PassLog, LogsOfOldOrEndedRunsAreRemovedOthersKept)
{
    ScratchFolder scratch;
    const std::string old = scratch.File("0123456789abcdef-0.log"); // named by the target alone
    const std::string oldOfRunningRun = PassLog::Prefix(scratch.Path(), "/out/a.mp4", getpid()) + "-0.log";
    const std::string ofEndedRun =
        PassLog::Prefix(scratch.Path(), "/out/b.mp4", finishedProcess()) + "-0.log";
    const std::string fresh = scratch.File("fedcba9876543210-0.log");
    const std::string ofRunningRun = PassLog::Prefix(scratch.Path(), "/out/c.mp4", getpid()) + "-0.log";
    for (const std::string& path : {old, oldOfRunningRun, ofEndedRun, fresh, ofRunningRun})
        touch(path);
    const std::time_t now = std::time(nullptr);
    const utimbuf longAgo{now - PassLog::StaleAfterSeconds - 60, now - PassLog::StaleAfterSeconds - 60};
    for (const std::string& path : {old, oldOfRunningRun})
        utime(path.c_str(), &longAgo);

    PassLog::RemoveStale(scratch.Path(), now);

    EXPECT_FALSE(exists(old));
    EXPECT_FALSE(exists(oldOfRunningRun));
    EXPECT_FALSE(exists(ofEndedRun));
    EXPECT_TRUE(exists(fresh));
    EXPECT_TRUE(exists(ofRunningRun));
}

} // namespace
