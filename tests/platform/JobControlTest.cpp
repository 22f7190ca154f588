#include "platform/JobControl.h"

#include <QFile>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace
{

char runState(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1).at(0);
}

// A process stopped from the terminal (Ctrl+Z) stops the groups it runs, continues them with
// itself, and its working clock leaves the pause out.
TEST(JobControl, ATerminalStopTakesTheAddedGroupsAlongAndTheClockLeavesThePauseOut)
{
    using namespace std::chrono_literals;
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t worker = fork();
    if (worker == 0) {
        // A job of its own, as a shell makes it: the kernel ignores a terminal stop in a group
        // that no process of its session outside it can continue.
        setpgid(0, 0);
        const pid_t helper = fork();
        if (helper == 0) {
            for (;;)
                pause();
        }
        setpgid(helper, helper);
        JobControl::Install();
        JobControl::AddGroup(helper);
        [[maybe_unused]] ssize_t written = write(report[1], &helper, sizeof helper);
        WorkingClock clock;
        clock.start();
        QElapsedTimer wall;
        wall.start();
        raise(SIGTSTP);
        const qint64 figures[3] = {clock.elapsed(), wall.elapsed(), runState(helper) == 'T'};
        written = write(report[1], figures, sizeof figures);
        kill(helper, SIGKILL);
        _exit(0);
    }
    pid_t helper = 0;
    ASSERT_EQ(read(report[0], &helper, sizeof helper), ssize_t(sizeof helper));
    int status = 0;
    ASSERT_EQ(waitpid(worker, &status, WUNTRACED), worker);
    ASSERT_TRUE(WIFSTOPPED(status));
    for (int i = 0; i < 1000 && runState(helper) != 'T'; ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(runState(helper), 'T') << "the added group stops with the process";
    std::this_thread::sleep_for(300ms); // the pause itself
    kill(worker, SIGCONT);
    qint64 figures[3] = {};
    ASSERT_EQ(read(report[0], figures, sizeof figures), ssize_t(sizeof figures));
    EXPECT_GE(figures[1], 300);
    EXPECT_LT(figures[0], figures[1] - 250) << "the pause is left out";
    EXPECT_FALSE(figures[2]) << "the group continues with the process";
    ASSERT_EQ(waitpid(worker, &status, 0), worker);
}

} // namespace
