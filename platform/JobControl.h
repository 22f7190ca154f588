#pragma once

#include <QElapsedTimer>
#include <QtGlobal>
#include <sys/types.h>

// Ctrl+Z in a terminal stops only the terminal's foreground process group, and the programs this
// process runs have groups of their own (RunAsBackgroundWork): they would go on working. While
// the handling is installed, a stop from the terminal (SIGTSTP, or SIGTTIN and SIGTTOU for a
// background job) first stops every group added here and then this process; when the process
// continues (`fg`, SIGCONT) it resumes them and adds the time it stood still to PausedMs, so that
// estimates can leave the pause out.
namespace JobControl
{

// Installs the handling of each of these stops that is not ignored (as in a program started
// without job control).
void Install();

// The process groups to stop and resume with this process; a full table leaves a group out.
void AddGroup(pid_t group);
void RemoveGroup(pid_t group);

// How long this process has stood still, stopped from the terminal, in all.
qint64 PausedMs();

} // namespace JobControl

// Measures time as QElapsedTimer does, leaving out the time the process stood still.
class WorkingClock
{
public:
    void start();
    qint64 elapsed() const;

private:
    QElapsedTimer m_timer;
    qint64 m_pausedAtStart = 0;
};
