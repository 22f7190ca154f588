#include "settings/SettingsFile.h"

#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "settings/PresetList.h"

QString SettingsFilePath(const QString& programFolder)
{
    return Paths::Join(programFolder, SettingsFileName);
}

QString PresetFilePath(const QString& programFolder)
{
    return Paths::Join(programFolder, ProfileFileName);
}

LoadedSettings ReadSettingsFile(const QString& programFolder, const PresetList& presets, SavedSettings start)
{
    return LoadSettings(ReadIniFile(SettingsFilePath(programFolder)), presets, programFolder,
                        std::move(start));
}

void WriteSettingsFile(const QString& programFolder, const SavedSettings& settings)
{
    const QString path = SettingsFilePath(programFolder);
    IniDocument ini = ReadIniFileForWriting(path);
    StoreSettings(ini, settings);
    WriteIniFile(path, ini);
}
