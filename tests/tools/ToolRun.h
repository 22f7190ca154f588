#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Running the built tools (and ffmpeg) from the tests.

struct ProgramRun {
    int ExitCode = -1;
    bool Crashed = false;
    QByteArray Errors;
};

// Runs a program to its end (at most a few minutes) with no standard input.
ProgramRun RunProgram(const QString& program, const QStringList& arguments, const QString& workingFolder = {},
                      const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// The built tools in the program folder.
QString FrontProgram();
QString AddFileProgram();
