#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "tests/support/Printers.h"

// A temporary folder for one test, removed with it.
class TempDir
{
public:
    TempDir();
    const QString& Path() const { return m_path; }
    // The path of `relative` inside the folder.
    QString File(const QString& relative) const;
    // Writes `bytes` to `relative`, creating parent folders; returns the full path.
    QString Write(const QString& relative, const QByteArray& bytes = {}) const;
    // Creates the folder `relative` with its parents; returns the full path.
    QString MakeDir(const QString& relative) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// The whole content of the file at `path`; empty when it cannot be read.
QByteArray ReadBytes(const QString& path);

// The folder where the build puts korumi and its tools.
QString BuiltProgramFolder();

// A program folder for one test: a temporary folder holding a copy of the built profile.txt.
class ProgramDir : public TempDir
{
public:
    ProgramDir();
};
