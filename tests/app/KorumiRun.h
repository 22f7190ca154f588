#pragma once

#include "tests/support/TempDir.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

// Runs a copy of the built program from a program folder of the test's own.
class KorumiRun : public ::testing::Test
{
protected:
    TempDir programDir;
    TempDir media;
    TempDir temporary;
    QString out = media.File(QStringLiteral("out"));
    int exitCode = -1;
    QString standardOutput;
    QString standardError;

    void SetUp() override
    {
        const QString built = BuiltProgramFolder();
        QFile::copy(built + "/korumi", programDir.File("korumi"));
        QFile::copy(built + "/profile.txt", programDir.File("profile.txt"));
        QFile::link(built + "/ffmpeg.exe", programDir.File("ffmpeg.exe"));
        // The saved output folder is where converted files go.
        programDir.Write("Korumi.ini", ("[SET2]\nC11=" + out + "\n").toUtf8());
    }

    // No display and no runtime folder from a session (as under root or in a container).
    QProcessEnvironment bareEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            environment.remove(name);
        environment.insert("TMPDIR", temporary.Path());
        return environment;
    }

    QProcess process;
    // Variables the next start sets on top of the bare environment.
    QProcessEnvironment environmentChanges;
    // What the next start reads on its standard input; empty for a pipe from `process`.
    QString standardInput = QProcess::nullDevice();

    void start(const QStringList& arguments)
    {
        QProcessEnvironment environment = bareEnvironment(); // the console mode needs no window system
        for (const QString& name : environmentChanges.keys())
            environment.insert(name, environmentChanges.value(name));
        environment.insert("QT_DEBUG_PLUGINS", "1"); // a plugin loaded would be told on standard error
        process.setProcessEnvironment(environment);
        if (!standardInput.isEmpty())
            process.setStandardInputFile(standardInput);
        process.start(programDir.File("korumi"), arguments);
    }

    void finish()
    {
        ASSERT_TRUE(process.waitForFinished(180000));
        exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        standardOutput = QString::fromUtf8(process.readAllStandardOutput());
        standardError = QString::fromUtf8(process.readAllStandardError());
    }

    void korumi(const QStringList& arguments)
    {
        start(arguments);
        finish();
    }
};
