#pragma once

#include "conversion/Command.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <functional>
#include <memory>

class QProcess;

// Runs one external program at a time, hidden, passes on what it writes and reports how it
// ended. It is the only owner of its process, so stopping can never reach a process it did not
// start or one that ended.
class HiddenProcess : public QObject
{
    Q_OBJECT
public:
    explicit HiddenProcess(QObject* parent = nullptr);
    ~HiddenProcess() override;

    // Starts `command`, looking the program up in `programFolder` first, with `variables` added
    // to its environment. Exactly one of Finished or FailedToStart follows, through the event loop.
    void Start(const Command& command, const QString& programFolder,
               const QList<QPair<QString, QString>>& variables = {});
    bool IsRunning() const;
    // Asks the running program to end, and ends it outright if it is still running after a short
    // grace; false when none is running. Finished follows once it has ended.
    bool Stop();

signals:
    void Finished(int exitCode, bool crashed);
    void FailedToStart(const QString& message);
    // What the program writes, as it arrives; all of it comes before Finished.
    void OutputArrived(const QByteArray& bytes);
    void ErrorsArrived(const QByteArray& bytes);

private:
    static void StopProcess(QProcess& process);
    void passOnOutput();
    void deliver(const QProcess* process, std::function<void()> report);
    void release();

    std::unique_ptr<QProcess> m_process;
};
