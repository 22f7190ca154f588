#include "settings/ProgramFiles.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/XdgFolders.h"
#include "settings/PresetList.h"
#include "settings/SavedSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace
{

const QString OwnFolderName = QStringLiteral("korumi");
// The file an install puts in the program folder: such a folder is never written, even by root.
const QString InstalledMarkerName = QStringLiteral("installed");

// A portable copy or a build: the folder takes new files (writing needs entering it as well)
// and is no install.
bool KeepsFilesBesideProgram(const QString& folder)
{
    return access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0 &&
           !QFileInfo::exists(Paths::Join(folder, InstalledMarkerName));
}

// A settings folder new to this user starts from the settings the program folder holds.
void AdoptShippedSettings(const ProgramFiles& files)
{
    const QString own = files.SettingsFile();
    QFile shipped(ProgramFiles(files.ProgramFolder).SettingsFile());
    if (QFile::exists(own) || !shipped.open(QIODevice::ReadOnly))
        return;
    // A fresh file rather than a copy: the shipped one is read-only and would stay so.
    ReplaceFileAtomically(own, shipped.readAll());
}

} // namespace

ProgramFiles::ProgramFiles(const QString& programFolder)
    : ProgramFolder(programFolder), SettingsFolder(programFolder), DefaultOutputFolder(programFolder)
{
}

QString ProgramFiles::SettingsFile() const
{
    return Paths::Join(SettingsFolder, SettingsFileName);
}

QString ProgramFiles::PresetFile() const
{
    const QString own = Paths::Join(SettingsFolder, ProfileFileName);
    return QFile::exists(own) ? own : Paths::Join(ProgramFolder, ProfileFileName);
}

ProgramFiles LocateProgramFiles(const QString& programFolder, bool filesBesideProgram,
                                const UserFolders& user)
{
    ProgramFiles files(programFolder);
    if (filesBesideProgram)
        return files;
    files.SettingsFolder = Paths::Join(Paths::ExcludeTrailingSeparator(user.ConfigHome), OwnFolderName);
    files.DefaultOutputFolder = Paths::ExcludeTrailingSeparator(user.Videos);
    return files;
}

UserFolders SessionUserFolders()
{
    const std::string home = XdgFolders::Home();
    const std::string configHome = XdgFolders::ConfigHome(home);
    return {QFile::decodeName(configHome.c_str()),
            QFile::decodeName(XdgFolders::Videos(home, configHome).c_str())};
}

ProgramFiles PrepareProgramFiles(const QString& programFolder)
{
    const ProgramFiles files =
        LocateProgramFiles(programFolder, KeepsFilesBesideProgram(programFolder), SessionUserFolders());
    if (files.SettingsFolder != files.ProgramFolder && QDir().mkpath(files.SettingsFolder))
        AdoptShippedSettings(files);
    return files;
}
