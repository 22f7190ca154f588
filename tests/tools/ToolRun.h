#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class TempDir;

// Running the built tools (and ffmpeg) from the tests.

struct ProgramRun {
    int ExitCode = -1;
    bool Crashed = false;
    QByteArray Errors;
    QByteArray Output = {};
};

// Runs a program to its end (at most a few minutes) with no standard input.
ProgramRun RunProgram(const QString& program, const QStringList& arguments, const QString& workingFolder = {},
                      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// Waits until `process` writes a line starting with `start` to its standard output; false when it
// ends first or takes minutes.
bool WaitForOutputLine(QProcess& process, const QByteArray& start);

// The last line `errors` holds, without its line break.
QByteArray LastLine(const QByteArray& errors);

// The environment of a front run: a private runtime folder, "runtime" in `temp`, that the test can
// look into.
QProcessEnvironment FrontEnvironment(const TempDir& temp);

// Every entry of `folder`, hidden ones included.
QStringList Entries(const QString& folder);

// The built tools in the program folder.
QString FrontProgram();
QString AddFileProgram();
