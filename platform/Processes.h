#pragma once

#include <QString>
#include <QStringList>

class QProcess;

// Where an external program named by its bare name is run from: the program folder first,
// then the search path. Returns the name unchanged when it is found in neither, so that
// starting it fails with the system's own error.
QString FindProgram(const QString& name, const QString& programFolder);

// Starts `name` (looked up as FindProgram does) with `arguments` in the background, hidden and
// not waited for; false when it could not be started.
bool StartDetached(const QString& name, const QStringList& arguments, const QString& programFolder);

// Readies `process` for a program that works in the background for this one:
// - it ends when this process ends, however it ends (even killed outright), so that no encoding
//   goes on for nobody;
// - it gets a process group of its own, so Ctrl+C in a terminal reaches only this process, which
//   decides how its programs stop;
// - it stops and continues with this process when JobControl is installed;
// - it runs under the batch scheduling policy, unless this process runs under another policy
//   than the usual one. An encode is long CPU-bound work, usually beside other encodes: under
//   that policy their threads no longer preempt one another at every wake-up, and run in longer
//   slices, while interactive programs still preempt them.
void RunAsBackgroundWork(QProcess& process);
