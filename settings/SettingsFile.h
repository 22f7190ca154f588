#pragma once

#include "settings/SavedSettings.h"

// The files Korumi keeps its presets and settings in, and reading and writing them whole.

// The settings file for a program in `programFolder`.
QString SettingsFilePath(const QString& programFolder);

// The preset file for a program in `programFolder`.
QString PresetFilePath(const QString& programFolder);

// Reads the settings file; a missing or unreadable file leaves everything at `start` and the preset.
LoadedSettings ReadSettingsFile(const QString& programFolder, const PresetList& presets,
                                SavedSettings start = {});

// Writes every remembered value in one atomic save. Raises EIniFileError with the file's path
// when it cannot be written; the old file is then left as it was.
void WriteSettingsFile(const QString& programFolder, const SavedSettings& settings);
