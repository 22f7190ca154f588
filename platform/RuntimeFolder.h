#pragma once

#include <QString>
#include <QTemporaryDir>
#include <optional>

// Qt keeps per-user runtime files under XDG_RUNTIME_DIR, and the encoder front its pass logs.
// Where the session sets none (as under root or in a container), Korumi makes a private folder
// of its own, so that Qt does not fall back to a shared one with a warning. Its name cannot be
// guessed: another user who took a fixed name first would make every two-pass file fail.

// Where XDG_RUNTIME_DIR is unset or empty, makes korumi-runtime-XXXXXX (mode 0700) in `parent`
// and sets XDG_RUNTIME_DIR to it for this process and the programs it starts. When the object
// goes, it removes that folder with everything in it and puts XDG_RUNTIME_DIR back as it was.
// While it lives it holds a lock in the folder; such folders whose lock can be taken are those
// of this user's runs that were killed, and are removed when the next one is made.
// Make it before the application object exists and keep it until that is gone.
class RuntimeFolder
{
public:
    RuntimeFolder(); // in the temporary folder
    explicit RuntimeFolder(const QString& parent);
    ~RuntimeFolder();
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

    // The folder made; empty when the session's own is used or none could be made.
    QString Path() const;

private:
    std::optional<QTemporaryDir> m_folder;
    bool m_wasSet;   // XDG_RUNTIME_DIR was set, if empty
    int m_lock = -1; // tells other runs that this one is alive
};
