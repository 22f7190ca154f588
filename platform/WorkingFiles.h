#pragma once

#include <QString>

// The hidden files kept beside the outputs while they are written: ".<name>.korumi-lock", a run's
// claim on the target <name>, and ".<name>.korumi-tmp-XXXXXX<extension>", what the encoder front
// writes before it takes the target's name. Neither is ever a video of the user's.
namespace WorkingFiles
{

// The lock file that claims `target`. A name the file system would find too long is cut short
// and ends in a fingerprint of the whole name, so that every run still finds one lock per target.
QString LockPathFor(const QString& target);

// Whether a file named `name` is a lock file.
bool IsLockFile(const QString& name);

// Whether a file named `name` is one of the working files.
bool IsWorkingFile(const QString& name);

} // namespace WorkingFiles
