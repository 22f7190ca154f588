#include "conversion/HiddenProcess.h"

#include "platform/Processes.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

namespace
{
// How long a program asked to end may take before it is ended outright; ffmpeg blocked on a
// file that never opens does not hear the request at all. The encoder front gives ffmpeg three
// seconds and then removes what it wrote, which this leaves it time for.
constexpr int StopGraceMs = 5000;
} // namespace

HiddenProcess::HiddenProcess(QObject* parent) : QObject(parent) {}

HiddenProcess::~HiddenProcess()
{
    release();
}

void HiddenProcess::Start(const Command& command, const QString& programFolder,
                          const QList<QPair<QString, QString>>& variables)
{
    release();
    m_process = std::make_unique<QProcess>();
    QProcess* process = m_process.get();
    process->setProgram(FindProgram(command.Program(), programFolder));
    process->setArguments(command.Arguments());
    process->setStandardInputFile(QProcess::nullDevice());
    // The encoder front finds the log of a file's first pass again by the run that both passes
    // belong to, whatever may stand between the two processes.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KORUMI_RUN"), QString::number(QCoreApplication::applicationPid()));
    for (const auto& [name, value] : variables)
        environment.insert(name, value);
    process->setProcessEnvironment(environment);
    RunAsBackgroundWork(*process);
    connect(process, &QProcess::readyReadStandardOutput, this, &HiddenProcess::passOnOutput);
    connect(process, &QProcess::readyReadStandardError, this, &HiddenProcess::passOnOutput);

    // Outcomes are delivered through the event loop, after the process has been released, so a
    // handler may start the next program at once. An outcome of a process that was already let
    // go (killed and replaced) is not reported.
    connect(process, &QProcess::finished, this, [this, process](int exitCode, QProcess::ExitStatus status) {
        passOnOutput();
        const bool crashed = status == QProcess::CrashExit;
        deliver(process, [this, exitCode, crashed] { emit Finished(exitCode, crashed); });
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        const QString message = process->errorString();
        deliver(process, [this, message] { emit FailedToStart(message); });
    });
    process->start();
}

void HiddenProcess::deliver(const QProcess* process, std::function<void()> report)
{
    QMetaObject::invokeMethod(
        this,
        [this, process, report = std::move(report)] {
            if (m_process.get() != process)
                return;
            release();
            report();
        },
        Qt::QueuedConnection);
}

void HiddenProcess::passOnOutput()
{
    const QByteArray output = m_process->readAllStandardOutput();
    if (!output.isEmpty())
        emit OutputArrived(output);
    const QByteArray errors = m_process->readAllStandardError();
    if (!errors.isEmpty())
        emit ErrorsArrived(errors);
}

bool HiddenProcess::IsRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

bool HiddenProcess::Stop()
{
    if (!IsRunning())
        return false;
    StopProcess(*m_process);
    return true;
}

void HiddenProcess::release()
{
    if (!m_process)
        return;
    m_process->disconnect(this);
    QProcess* process = m_process.release();
    if (process->state() == QProcess::NotRunning) {
        process->deleteLater();
        return;
    }
    // Deleting a running QProcess waits for it; a stopped one is let go once it has ended, or
    // with the application, should that end first.
    process->setParent(QCoreApplication::instance());
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    StopProcess(*process);
}

void HiddenProcess::StopProcess(QProcess& process)
{
    process.terminate();
    QTimer::singleShot(StopGraceMs, &process, [&process] { process.kill(); });
}
