#pragma once

#include <QString>

class QSlider;
class TDigitBar;
class TMultiColComboBox;

// The row above the presets that names their columns; never applied as a preset.
inline const QString PresetHeaderRow =
    QStringLiteral(",[拡張子],[ｻｲｽﾞ],[ｺｰﾃﾞｯｸ],[ﾌﾚｰﾑﾚｰﾄ],[ﾋﾞｯﾄﾚｰﾄ],[ｺｰﾃﾞｯｸ],[ｻﾝﾌﾟﾙﾚｰﾄ],[ﾋﾞｯﾄﾚｰﾄ]");

// The preset file in the program folder.
inline const QString ProfileFileName = QStringLiteral("profile.txt");

// Gives the preset list its nine coloured columns and the codec list its two, with their font,
// row height and drop-down length.
void SetUpPresetLists(TMultiColComboBox& presets, TMultiColComboBox& codecs);

// Fills the preset list with the header row and the lines of profile.txt in `programFolder`, and
// the codec list with "LIBX264" and "MPEG4". Neither list has a selection afterwards. Raises
// EFOpenError with the file's full path when profile.txt cannot be opened.
void FillPresetLists(TMultiColComboBox& presets, TMultiColComboBox& codecs, const QString& programFolder);

// The controls a preset sets.
struct PresetControls {
    TMultiColComboBox* presets;
    TMultiColComboBox* codecs;
    QSlider* pictureSize;    // 0 = 640x480 ... 3 = 1280x720
    TDigitBar* frameRate;    // frames per second
    TDigitBar* videoBitRate; // kbit/s
    QSlider* sampleRate;     // 0 = 48000 Hz ... 4 = 8000 Hz
    TDigitBar* audioBitRate; // kbit/s
};

// Sets the controls from the selected preset (preset 1 when nothing or the header row is
// selected): picture size, codec, frame rate, video bit rate, sample rate, audio bit rate, in
// this order. A field that is not a number raises EConvertError and leaves the later controls as
// they were. Either way the closed box shows the preset name again.
void ApplySelectedPreset(const PresetControls& controls);
