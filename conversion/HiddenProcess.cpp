#include "conversion/HiddenProcess.h"

#include "platform/Processes.h"

#include <QProcess>

HiddenProcess::HiddenProcess(QObject* parent) : QObject(parent) {}

HiddenProcess::~HiddenProcess()
{
    release();
}

void HiddenProcess::Start(const Command& command, const QString& programFolder)
{
    release();
    m_process = std::make_unique<QProcess>();
    QProcess* process = m_process.get();
    process->setProgram(FindProgram(command.Program(), programFolder));
    process->setArguments(command.Arguments());
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());

    // Outcomes are delivered through the event loop, after the process has been released, so a
    // handler may start the next program at once.
    connect(process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        const bool crashed = status == QProcess::CrashExit;
        QMetaObject::invokeMethod(
            this,
            [this, exitCode, crashed] {
                release();
                emit Finished(exitCode, crashed);
            },
            Qt::QueuedConnection);
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        const QString message = process->errorString();
        QMetaObject::invokeMethod(
            this,
            [this, message] {
                release();
                emit FailedToStart(message);
            },
            Qt::QueuedConnection);
    });
    process->start();
}

bool HiddenProcess::IsRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

bool HiddenProcess::Kill()
{
    if (!IsRunning())
        return false;
    m_process->kill();
    return true;
}

void HiddenProcess::release()
{
    if (!m_process)
        return;
    m_process->disconnect(this);
    if (Kill())
        m_process->waitForFinished(1000);
    m_process.reset();
}
