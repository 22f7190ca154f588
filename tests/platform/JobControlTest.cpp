#include "platform/JobControl.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

// A process stopped from the terminal (Ctrl+Z) stops the groups it runs, continues them with
// itself, and its working clock leaves the pause out.
TEST(JobControl, ATerminalStopTakesTheAddedGroupsAlongAndTheClockLeavesThePauseOut)
{
    // Ours, so that we see it stop and continue: a program in a group of its own.
    const pid_t helper = fork();
    if (helper == 0) {
        setpgid(0, 0);
        for (;;)
            pause();
    }
    setpgid(helper, helper);
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t worker = fork();
    if (worker == 0) {
        // A job of its own, as a shell makes it: the kernel ignores a terminal stop in a group
        // that no process of its session outside it can continue.
        setpgid(0, 0);
        JobControl::Install();
        JobControl::AddGroup(helper);
        WorkingClock clock;
        clock.start();
        QElapsedTimer wall;
        wall.start();
        raise(SIGTSTP);
        const qint64 figures[2] = {clock.elapsed(), wall.elapsed()};
        [[maybe_unused]] const ssize_t written = write(report[1], figures, sizeof figures);
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(worker, &status, WUNTRACED), worker);
    ASSERT_TRUE(WIFSTOPPED(status));
    ASSERT_EQ(waitpid(helper, &status, WUNTRACED), helper);
    EXPECT_TRUE(WIFSTOPPED(status)) << "the added group stops with the process";
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the pause itself
    kill(worker, SIGCONT);
    ASSERT_EQ(waitpid(helper, &status, WCONTINUED), helper);
    EXPECT_TRUE(WIFCONTINUED(status)) << "the group continues with the process";
    qint64 figures[2] = {};
    ASSERT_EQ(read(report[0], figures, sizeof figures), ssize_t(sizeof figures));
    EXPECT_GE(figures[1], 300);
    EXPECT_LT(figures[0], figures[1] - 250) << "the pause is left out";
    kill(helper, SIGKILL);
    waitpid(helper, &status, 0);
    waitpid(worker, &status, 0);
}

} // namespace
