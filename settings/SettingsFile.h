#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>

class QCheckBox;
class QSlider;
class QWidget;
class TBrowseEdit;
class TDigitBar;
class TMultiColComboBox;

// The settings file in the program folder.
inline const QString SettingsFileName = QStringLiteral("Korumi.ini");

// The window and controls whose state the settings file keeps.
struct SettingsControls {
    QWidget* window;
    TMultiColComboBox* presets;
    TDigitBar* frameRate;
    TDigitBar* videoBitRate;
    QSlider* sampleRate;
    TDigitBar* audioBitRate;
    QSlider* pictureSize;
    TBrowseEdit* outputFolder;
    QCheckBox* twoPass;
    // Applies the selected preset to the controls; may raise the number-conversion error.
    std::function<void()> applyPreset;
};

// Restores the window position, the preset (and applies it), the manual values that override
// it, the output folder (the program folder when none is saved) and the two-pass choice. A
// preset that cannot be applied is reported and the rest is restored all the same.
void LoadSettings(const QString& programFolder, const SettingsControls& controls);

// Writes the same values back. Raises EIniFileError when the file cannot be written.
void SaveSettings(const QString& programFolder, const SettingsControls& controls);

// Where a window whose title strip starts at `saved` goes: there when some screen shows part
// of the strip (`stripSize` wide and high), else back at the start position 20,20.
QPoint PlaceOnScreens(QPoint saved, QSize stripSize, const QList<QRect>& screens);
