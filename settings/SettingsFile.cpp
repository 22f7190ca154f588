#include "settings/SettingsFile.h"

#include "platform/IniFile.h"

#include <QFileInfo>

LoadedSettings ReadSettingsFile(const ProgramFiles& files, const PresetList& presets, SavedSettings start)
{
    QString why;
    const std::optional<IniDocument> ini = ReadIniFile(files.SettingsFile(), &why);
    LoadedSettings loaded =
        LoadSettings(ini.value_or(IniDocument()), presets, files.DefaultOutputFolder, std::move(start));
    if (!ini) {
        loaded.Unreadable = true;
        loaded.Problems.prepend(QStringLiteral("設定ファイル %1 を読み込めません (%2)")
                                    .arg(QFileInfo(files.SettingsFile()).absoluteFilePath(), why));
    }
    return loaded;
}

void WriteSettingsFile(const ProgramFiles& files, const SavedSettings& settings)
{
    const QString path = files.SettingsFile();
    IniDocument ini = ReadIniFileForWriting(path);
    StoreSettings(ini, settings);
    WriteIniFile(path, ini);
}
