#pragma once

#include <string>
#include <sys/types.h>

// The file an output is written to before it is renamed onto its target: hidden, beside the
// target (the same file system, so the rename is atomic), named after the target and the front
// that writes it, and ending in the target's extension so ffmpeg picks the same format.
namespace TempOutput
{

// The temporary file for `target` written by the front `writer`.
std::string PathFor(const std::string& target, pid_t writer);

// Removes the temporary files in the folder of `target` whose fronts no longer run (killed
// before they could); those of running fronts stay.
void RemoveOrphans(const std::string& target);

// Renames `temp` onto `target`. When it cannot, removes `temp` and returns why; a device or a
// pipe at `target` is never replaced.
std::string MoveOnto(const std::string& temp, const std::string& target);

} // namespace TempOutput
