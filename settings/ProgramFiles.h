#pragma once

#include <QString>

// Where Korumi finds what it ships and keeps what it writes. A program folder the user can write
// to (a portable copy, a build) keeps everything beside the program; an installed one leaves the
// settings, presets of the user's own and converted files to folders of the user's.
struct ProgramFiles {
    // Everything beside the program in `programFolder`, as a portable copy keeps it; a program
    // folder alone converts to this on purpose.
    ProgramFiles(const QString& programFolder);

    QString ProgramFolder;       // the programs, Readme.txt and the presets that come with them
    QString SettingsFolder;      // Korumi.ini, and a profile.txt of the user's own
    QString DefaultOutputFolder; // where converted files go until the user picks a folder

    // Korumi.ini in the settings folder.
    QString SettingsFile() const;

    // The settings folder's profile.txt when there is one, else the program folder's.
    QString PresetFile() const;
};

// The user's folders as the session names them.
struct UserFolders {
    QString ConfigHome; // the configuration folder ($XDG_CONFIG_HOME, else ~/.config)
    QString Videos;     // the videos folder
};

// Decides where the files live: all beside the program when `filesBesideProgram` (a writable
// folder that is no install); otherwise the settings in the korumi folder of the user's
// configuration folder and converted files in the videos folder.
ProgramFiles LocateProgramFiles(const QString& programFolder, bool filesBesideProgram,
                                const UserFolders& user);

// The user's folders of this session.
UserFolders SessionUserFolders();

// LocateProgramFiles for this process. A settings folder of the user's is made if missing, and
// the first start there takes a copy of the program folder's Korumi.ini when it has one.
ProgramFiles PrepareProgramFiles(const QString& programFolder);
