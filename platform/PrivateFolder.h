#pragma once

#include <QString>
#include <QTemporaryDir>

// A folder that only this process uses, for files that must never meet another process's:
// made (mode 0700) under XDG_RUNTIME_DIR, else the temporary folder, and removed with everything
// in it when this object goes.
class PrivateFolder
{
public:
    PrivateFolder();

    // The folder's path; empty when it could not be made.
    QString Path() const;

private:
    QTemporaryDir m_folder;
};
