#pragma once

#include "settings/ProgramFiles.h"
#include "settings/SavedSettings.h"

// Reading and writing the settings file whole.

// Reads the settings file; a missing file leaves everything at `start` and the preset, and so
// does one that cannot be read, which is named among the problems. An empty output folder
// becomes the files' default output folder.
LoadedSettings ReadSettingsFile(const ProgramFiles& files, const PresetList& presets,
                                SavedSettings start = {});

// Writes every remembered value in one atomic save. Raises EIniFileError with the file's path
// when it cannot be written; the old file is then left as it was.
void WriteSettingsFile(const ProgramFiles& files, const SavedSettings& settings);
