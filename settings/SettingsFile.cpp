#include "settings/SettingsFile.h"

#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>

LoadedSettings ReadSettingsFile(const ProgramFiles& files, const PresetList& presets, SavedSettings start)
{
    QFile file(files.SettingsFile());
    if (file.exists() && !file.open(QIODevice::ReadOnly)) {
        LoadedSettings unread =
            LoadSettings(IniDocument(), presets, files.DefaultOutputFolder, std::move(start));
        unread.Unreadable = true;
        unread.Problems.prepend(QStringLiteral("設定ファイル %1 を読み込めません (%2)")
                                    .arg(QFileInfo(file).absoluteFilePath(), file.errorString()));
        return unread;
    }
    return LoadSettings(IniDocument(file.readAll()), presets, files.DefaultOutputFolder, std::move(start));
}

void WriteSettingsFile(const ProgramFiles& files, const SavedSettings& settings)
{
    const QString path = files.SettingsFile();
    IniDocument ini = ReadIniFileForWriting(path);
    StoreSettings(ini, settings);
    WriteIniFile(path, ini);
}
