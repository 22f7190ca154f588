#include "tools/common/ChildProcess.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ChildProcess
{

namespace
{

constexpr std::array<int, 3> ForwardedSignals{SIGTERM, SIGINT, SIGHUP};
// Time a child gets to end after a passed-on signal before it is killed outright.
constexpr unsigned GraceSeconds = 3;

volatile sig_atomic_t g_child = 0;
volatile sig_atomic_t g_stopSignal = 0;

void passOn(int signal)
{
    g_stopSignal = signal;
    if (g_child > 0) {
        kill(g_child, signal);
        alarm(GraceSeconds);
    }
}

void killChild(int)
{
    if (g_child > 0)
        kill(g_child, SIGKILL);
}

void setHandler(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

void installHandlers()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (int signal : ForwardedSignals)
        setHandler(signal, passOn);
    setHandler(SIGALRM, killChild);
}

sigset_t forwardedSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : ForwardedSignals)
        sigaddset(&set, signal);
    sigaddset(&set, SIGALRM);
    return set;
}

std::vector<char*> argumentPointers(const std::vector<std::string>& arguments)
{
    std::vector<char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

void reportNotStarted(const std::string& program)
{
    std::fprintf(stderr, "%s: cannot run %s: %s\n", program_invocation_short_name, program.c_str(),
                 std::strerror(errno));
}

// In the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void becomeChild(char* const* argv, pid_t parent, int outputFd, const sigset_t& blocked)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) // the parent died before the line above took effect
        _exit(NotStartedStatus);
    for (int signal : ForwardedSignals)
        std::signal(signal, SIG_DFL);
    std::signal(SIGALRM, SIG_DFL);
    sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
    if (outputFd >= 0) {
        dup2(outputFd, STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, STDERR_FILENO);
    }
    execvp(argv[0], argv);
    // The process is single-threaded, so reporting here is safe.
    reportNotStarted(argv[0]);
    _exit(NotStartedStatus);
}

Outcome outcomeOf(int status)
{
    if (WIFSIGNALED(status))
        return {0, WTERMSIG(status)};
    return {WEXITSTATUS(status), 0};
}

// Starts the child with its standard output on `outputFd` (or ours when -1); returns its
// pid, or -1 when it cannot start. Signals are passed on to a child that is `waited` for.
pid_t start(const std::vector<std::string>& arguments, int outputFd, bool waited = true)
{
    installHandlers();
    const sigset_t blocked = forwardedSet();
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    if (g_stopSignal != 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        return -1;
    }
    std::vector<char*> argv = argumentPointers(arguments);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        becomeChild(argv.data(), parent, outputFd, blocked);
    if (pid < 0)
        reportNotStarted(arguments.front());
    if (waited)
        g_child = pid > 0 ? pid : 0;
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return pid;
}

Outcome waitFor(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    g_child = 0;
    alarm(0);
    return outcomeOf(status);
}

Outcome stopped()
{
    return {0, g_stopSignal};
}

} // namespace

int Exec(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv = argumentPointers(arguments);
    execvp(argv[0], argv.data());
    reportNotStarted(arguments.front());
    return NotStartedStatus;
}

Outcome Run(const std::vector<std::string>& arguments)
{
    const pid_t pid = start(arguments, -1);
    if (pid < 0)
        return g_stopSignal != 0 ? stopped() : Outcome{NotStartedStatus, 0};
    return waitFor(pid);
}

bool Spawn(const std::vector<std::string>& arguments)
{
    return start(arguments, STDOUT_FILENO, /*waited=*/false) > 0;
}

bool Capture(const std::vector<std::string>& arguments, std::string& output)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    const pid_t pid = start(arguments, pipeFds[1]);
    close(pipeFds[1]);
    std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t count = read(pipeFds[0], buffer.data(), buffer.size());
        if (count > 0)
            output.append(buffer.data(), static_cast<std::size_t>(count));
        else if (count == 0 || errno != EINTR)
            break;
    }
    close(pipeFds[0]);
    return pid > 0 && waitFor(pid).Succeeded();
}

void ExitLike(const Outcome& outcome)
{
    if (outcome.Signal != 0) {
        std::signal(outcome.Signal, SIG_DFL);
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, outcome.Signal);
        sigprocmask(SIG_UNBLOCK, &set, nullptr);
        raise(outcome.Signal);
        std::_Exit(128 + outcome.Signal);
    }
    std::exit(outcome.ExitCode);
}

} // namespace ChildProcess
