#include "platform/JobControl.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <unistd.h>

namespace
{

// The stops that come from the terminal: Ctrl+Z, and a background job that reads from it or
// writes to it where the terminal says so.
constexpr std::array<int, 3> TerminalStops{SIGTSTP, SIGTTIN, SIGTTOU};

// Read in a signal handler: lock-free atomics only.
std::array<std::atomic<pid_t>, 64> g_groups{};
std::atomic<qint64> g_pausedMs{0};

qint64 monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void signalGroups(int signalNumber)
{
    for (const std::atomic<pid_t>& group : g_groups) {
        const pid_t id = group.load();
        // A program that has not made its group yet is still in ours, and stops with us.
        if (id > 0 && kill(-id, signalNumber) != 0 && errno == ESRCH)
            kill(id, signalNumber);
    }
}

void setHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
}

// Async-signal-safe. The signal is blocked while this runs; it is sent again with its default
// effect and unblocked, which stops the process (the shell sees an ordinary stop); the call
// returns once the process continues.
void onTerminalStop(int signalNumber)
{
    const int savedErrno = errno;
    const qint64 stoppedAt = monotonicMs();
    signalGroups(SIGSTOP);
    setHandler(signalNumber, SIG_DFL);
    sigset_t terminalStop;
    sigemptyset(&terminalStop);
    sigaddset(&terminalStop, signalNumber);
    kill(getpid(), signalNumber);
    sigprocmask(SIG_UNBLOCK, &terminalStop, nullptr);
    sigprocmask(SIG_BLOCK, &terminalStop, nullptr);
    setHandler(signalNumber, onTerminalStop);
    signalGroups(SIGCONT);
    g_pausedMs += monotonicMs() - stoppedAt;
    errno = savedErrno;
}

} // namespace

namespace JobControl
{

void Install()
{
    for (const int signalNumber : TerminalStops) {
        struct sigaction current = {};
        sigaction(signalNumber, nullptr, &current);
        if (current.sa_handler != SIG_IGN)
            setHandler(signalNumber, onTerminalStop);
    }
}

void AddGroup(pid_t group)
{
    for (std::atomic<pid_t>& slot : g_groups) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, group))
            return;
    }
}

void RemoveGroup(pid_t group)
{
    for (std::atomic<pid_t>& slot : g_groups) {
        pid_t expected = group;
        if (slot.compare_exchange_strong(expected, 0))
            return;
    }
}

qint64 PausedMs()
{
    return g_pausedMs.load();
}

} // namespace JobControl

void WorkingClock::start()
{
    m_timer.start();
    m_pausedAtStart = JobControl::PausedMs();
}

qint64 WorkingClock::elapsed() const
{
    return m_timer.elapsed() - (JobControl::PausedMs() - m_pausedAtStart);
}
