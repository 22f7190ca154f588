#include "tests/tools/ToolRun.h"

#include "tests/support/TempDir.h"

#include <QProcess>

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
    return {process.exitCode(), process.exitStatus() == QProcess::CrashExit, process.readAllStandardError()};
}

QString FrontProgram()
{
    return BuiltProgramFolder() + QStringLiteral("/ffmpeg.exe");
}

QString AddFileProgram()
{
    return BuiltProgramFolder() + QStringLiteral("/addfile.exe");
}
