#include "platform/Processes.h"

#include <QProcess>
#include <QStandardPaths>

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
