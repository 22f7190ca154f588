#include "tests/tools/ToolRun.h"

#include "tests/support/TempDir.h"

#include <QDir>

namespace
{
constexpr int RunTimeoutMs = 300000;
}

ProgramRun RunProgram(const QString& program, const QStringList& arguments, const QString& workingFolder,
                      const QProcessEnvironment& environment)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessEnvironment(environment);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    process.start(program, arguments);
    if (!process.waitForFinished(RunTimeoutMs))
        process.kill();
    process.waitForFinished();
    return {process.exitCode(), process.exitStatus() == QProcess::CrashExit, process.readAllStandardError(),
            process.readAllStandardOutput()};
}

bool WaitForOutputLine(QProcess& process, const QByteArray& start)
{
    process.setReadChannel(QProcess::StandardOutput);
    for (;;) {
        while (process.canReadLine())
            if (process.readLine().startsWith(start))
                return true;
        if (!process.waitForReadyRead(RunTimeoutMs))
            return false;
    }
}

QByteArray LastLine(const QByteArray& errors)
{
    const QByteArray trimmed = errors.trimmed();
    return trimmed.mid(trimmed.lastIndexOf('\n') + 1);
}

QProcessEnvironment FrontEnvironment(const TempDir& temp)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), temp.MakeDir(QStringLiteral("runtime")));
    return environment;
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QString FrontProgram()
{
    return BuiltProgramFolder() + QStringLiteral("/ffmpeg.exe");
}

QString AddFileProgram()
{
    return BuiltProgramFolder() + QStringLiteral("/addfile.exe");
}
