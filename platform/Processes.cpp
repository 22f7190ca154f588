#include "platform/Processes.h"

#include "platform/ChildLifetime.h"
#include "platform/JobControl.h"

#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <memory>
#include <sched.h>
#include <unistd.h>
#include <utility>

QString FindProgram(const QString& name, const QString& programFolder)
{
    QString found = QStandardPaths::findExecutable(name, {programFolder});
    if (found.isEmpty())
        found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? name : found;
}

bool StartDetached(const QString& name, const QStringList& arguments, const QString& programFolder)
{
    QProcess process;
    process.setProgram(FindProgram(name, programFolder));
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    return process.startDetached();
}

void RunAsBackgroundWork(QProcess& process)
{
    const pid_t parent = getpid();
    // Runs in the child between fork and exec.
    process.setChildProcessModifier([parent] {
        DieWithParent(parent);
        setpgid(0, 0);
        signal(SIGPIPE, SIG_DFL); // ignored here, but not for the programs run
        // Only from the usual policy: a Korumi started as idle work keeps its programs idle work.
        // Where the system refuses the change, the program runs under the usual policy.
        const sched_param normalPriority{};
        if (sched_getscheduler(0) == SCHED_OTHER)
            sched_setscheduler(0, SCHED_BATCH, &normalPriority);
    });
    // Its group stops and continues with this process (Ctrl+Z, fg) while it runs.
    QObject::connect(&process, &QProcess::started, &process, [&process] {
        const pid_t group = pid_t(process.processId());
        JobControl::AddGroup(group);
        // Once, at the end or when the process object goes, whichever comes first.
        const auto remove = [group, removed = std::make_shared<bool>(false)] {
            if (!std::exchange(*removed, true))
                JobControl::RemoveGroup(group);
        };
        QObject::connect(&process, &QProcess::finished, remove);
        QObject::connect(&process, &QObject::destroyed, remove);
    });
}
