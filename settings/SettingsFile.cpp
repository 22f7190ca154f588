#include "settings/SettingsFile.h"

#include "platform/IniFile.h"

LoadedSettings ReadSettingsFile(const ProgramFiles& files, const PresetList& presets, SavedSettings start)
{
    return LoadSettings(ReadIniFile(files.SettingsFile()), presets, files.DefaultOutputFolder,
                        std::move(start));
}

void WriteSettingsFile(const ProgramFiles& files, const SavedSettings& settings)
{
    const QString path = files.SettingsFile();
    IniDocument ini = ReadIniFileForWriting(path);
    StoreSettings(ini, settings);
    WriteIniFile(path, ini);
}
