#pragma once

#include "platform/ChildLifetime.h"

#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// Running other programs from an argument vector (never through a shell), so that whatever a
// file name holds reaches the program as one argument.
namespace ChildProcess
{

// How a program ended.
struct Outcome {
    int ExitCode = 0; // the exit status when Signal is 0
    int Signal = 0;   // the signal that ended it, or 0

    bool Succeeded() const { return Signal == 0 && ExitCode == 0; }
};

// Replaces this process with arguments[0], looked up on the search path. Returns only when
// that fails, after a message on standard error, with the status to exit with.
int Exec(const std::vector<std::string>& arguments);

// Runs arguments[0] as a child and waits for it. The child dies with this process; SIGTERM,
// SIGINT and SIGHUP sent to this process are passed on, and a child that ignores them is
// killed after a grace period. Once such a signal has arrived no further child is started.
Outcome Run(const std::vector<std::string>& arguments);

// Runs a child like Run() with its standard error on a pipe, handing what arrives there to `take`
// piece by piece until the child has closed it.
Outcome RunReadingErrors(const std::vector<std::string>& arguments,
                         const std::function<void(std::string_view)>& take);

// The SIGTERM, SIGINT or SIGHUP that asked this process to stop, or 0 while none has.
int StopSignal();

// Whether a process with this id runs; one of another user's counts, one that has ended but was
// not collected by its parent does not.
bool IsRunning(pid_t pid);

// Runs a child like Run() and collects its standard output (its standard error is dropped).
// Returns false when it does not succeed.
bool Capture(const std::vector<std::string>& arguments, std::string& output);

// Ends this process the way `outcome` ended: the same exit status, or the same signal.
[[noreturn]] void ExitLike(const Outcome& outcome);

} // namespace ChildProcess
