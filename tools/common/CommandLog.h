#pragma once

#include <string>
#include <vector>

// The programs the tools run, written down for whoever wants to run the very same commands
// themselves (the benchmarks do): when KORUMI_COMMAND_LOG names a file, each command is appended
// to it as one line a POSIX shell runs as it stands.
namespace CommandLog
{

void Record(const std::vector<std::string>& arguments);

// `arguments` as that line: every word in single quotes.
std::string ShellLine(const std::vector<std::string>& arguments);

} // namespace CommandLog
