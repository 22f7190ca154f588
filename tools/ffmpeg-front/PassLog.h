#pragma once

#include <ctime>
#include <string>
#include <sys/types.h>

// Pass logs of two-pass conversions live in a private folder of the user's, never in the working
// folder (which may be read-only or shared). Both passes of one target find the same log by a
// name derived from the target's absolute path and the run that started them, so two runs
// converting to one target at once never share a log.
namespace PassLog
{

// Logs older than this are left over from runs that were killed, and are removed; so are those
// of runs that have ended.
constexpr std::time_t StaleAfterSeconds = 24 * 60 * 60;

// The folder for pass logs: korumi-passlog under `runtimeDir` when that is an absolute path. Else
// korumi/passlog-<host> in the user's cache folder (`cacheHome` when absolute, else .cache in
// `home`): no fixed name in a shared folder that another user could take first, and found again
// by the second pass as by the first. The host keeps machines that share a home from removing
// each other's logs as those of ended runs. Empty when there is no such folder.
std::string FolderPath(const char* runtimeDir, const char* cacheHome, const char* home,
                       const std::string& host);

// This machine's name.
std::string HostName();

// Creates `folder` and the folders on its way (mode 0700) if missing, and checks it is a real
// folder that only `user` can enter. Returns an empty text, or why the folder cannot be used.
std::string MakePrivate(const std::string& folder, uid_t user);

// The pass-log prefix ffmpeg is given for `absoluteTarget` in the run with process id `run`.
std::string Prefix(const std::string& folder, const std::string& absoluteTarget, pid_t run);

// A file of the front's own that lives and goes with the log at `prefix`, named `name`.
std::string Companion(const std::string& prefix, const std::string& name);

// Removes every file ffmpeg wrote under `prefix` (the log and its companions).
void Remove(const std::string& prefix);

// Removes the files in `folder` last changed more than StaleAfterSeconds before `now`, and the
// logs whose runs no longer run.
void RemoveStale(const std::string& folder, std::time_t now);

} // namespace PassLog
