#pragma once

#include "settings/ConversionSettings.h"

#include <QPoint>
#include <QStringList>

class IniDocument;
class PresetList;

// The settings file.
inline const QString SettingsFileName = QStringLiteral("Korumi.ini");

// Where the main window's top left corner starts, and goes back to when no screen shows it.
constexpr QPoint MainWindowStart{20, 20};

// What Korumi remembers from one run to the next.
struct SavedSettings {
    QPoint WindowPosition = MainWindowStart; // top left corner of the main window
    int PresetIndex = -1;                    // the chosen preset; 0 is the header row, -1 none
    ConversionSettings Conversion;           // the codec is not stored: it follows from the preset
    bool SkipExisting = false;               // leave out files whose target exists; set in the file only
};

// Settings as a load found them, with what it could not use.
struct LoadedSettings {
    SavedSettings Settings;
    QStringList Problems;    // messages for the user, each once
    bool Unreadable = false; // the file is there but could not be read: it must not be written over
};

// Reads the settings in the order that lets saved values win: window position, preset (applied
// to the conversion settings), then the saved manual values, output folder and two-pass flag.
// Missing keys and values that are not numbers keep what `start` (or the preset) gave; numbers
// are clamped into their ranges. An empty output folder becomes `defaultOutputFolder`; a trailing
// separator is dropped and a leading "~" means the user's home. A preset that cannot be applied
// whole is a problem, and the load goes on.
LoadedSettings LoadSettings(const IniDocument& ini, const PresetList& presets,
                            const QString& defaultOutputFolder, SavedSettings start = {});

// Writes every remembered value into `ini`, leaving everything else in it as it was.
void StoreSettings(IniDocument& ini, const SavedSettings& settings);
