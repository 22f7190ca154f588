#include "tools/common/ChildProcess.h"

#include "platform/ChildLifetime.h"
#include "tools/common/CommandLog.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// Where a child's standard output and error go; -1 keeps this process's own.
struct Streams {
    int output = -1;
    int errors = -1;
};

// In the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void becomeChild(char* const* argv, pid_t parent, const Streams& streams,
                              const sigset_t& blocked)
{
    DieWithParent(parent);
    for (int signal : ForwardedSignals)
        std::signal(signal, SIG_DFL);
    std::signal(SIGALRM, SIG_DFL);
    sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
    if (streams.output >= 0)
        dup2(streams.output, STDOUT_FILENO);
    if (streams.errors >= 0)
        dup2(streams.errors, STDERR_FILENO);
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

// Starts the child with the given streams and passes signals on to it; returns its pid, or -1
// when it cannot start.
pid_t start(const std::vector<std::string>& arguments, const Streams& streams)
{
    installHandlers();
    const sigset_t blocked = forwardedSet();
    sigset_t previous;
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    if (g_stopSignal != 0) {
        sigprocmask(SIG_SETMASK, &previous, nullptr);
        return -1;
    }
    CommandLog::Record(arguments);
    std::vector<char*> argv = argumentPointers(arguments);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        becomeChild(argv.data(), parent, streams, blocked);
    if (pid < 0)
        reportNotStarted(arguments.front());
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

Outcome notStarted()
{
    return g_stopSignal != 0 ? stopped() : Outcome{NotStartedStatus, 0};
}

// Hands everything read from `fd` to `take` until the writing end is closed; then closes `fd`.
void readAll(int fd, const std::function<void(std::string_view)>& take)
{
    std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t count = read(fd, buffer.data(), buffer.size());
        if (count > 0)
            take({buffer.data(), static_cast<std::size_t>(count)});
        else if (count == 0 || errno != EINTR)
            break;
    }
    close(fd);
}

// Whether `pid` has ended but was not collected: a process whose parent died is left so by an
// init that does not collect (as in some containers), and may stay for good.
bool isZombie(pid_t pid)
{
    char path[32];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    FILE* file = std::fopen(path, "re");
    if (file == nullptr)
        return false;
    // "pid (name) state ...": the name may hold anything, so the state follows the last ")".
    std::array<char, 512> line;
    const bool read = std::fgets(line.data(), line.size(), file) != nullptr;
    std::fclose(file);
    const char* nameEnd = read ? std::strrchr(line.data(), ')') : nullptr;
    return nameEnd != nullptr && nameEnd[1] == ' ' && nameEnd[2] == 'Z';
}

} // namespace

int Exec(const std::vector<std::string>& arguments)
{
    CommandLog::Record(arguments);
    std::vector<char*> argv = argumentPointers(arguments);
    execvp(argv[0], argv.data());
    reportNotStarted(arguments.front());
    return NotStartedStatus;
}

Outcome Run(const std::vector<std::string>& arguments)
{
    const pid_t pid = start(arguments, {});
    return pid < 0 ? notStarted() : waitFor(pid);
}

Outcome RunReadingErrors(const std::vector<std::string>& arguments,
                         const std::function<void(std::string_view)>& take)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return notStarted();
    const pid_t pid = start(arguments, {-1, pipeFds[1]});
    close(pipeFds[1]);
    readAll(pipeFds[0], take);
    return pid < 0 ? notStarted() : waitFor(pid);
}

bool Capture(const std::vector<std::string>& arguments, std::string& output)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return false;
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t pid = start(arguments, {pipeFds[1], null});
    close(pipeFds[1]);
    if (null >= 0)
        close(null);
    readAll(pipeFds[0], [&output](std::string_view bytes) { output.append(bytes); });
    return pid > 0 && waitFor(pid).Succeeded();
}

int StopSignal()
{
    return g_stopSignal;
}

bool IsRunning(pid_t pid)
{
    if (kill(pid, 0) != 0)
        return errno != ESRCH;
    return !isZombie(pid);
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
