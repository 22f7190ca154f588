#pragma once

#include <QString>
#include <QStringList>
#include <optional>

struct ConversionSettings;

// The row above the presets that names their columns; never applied as a preset.
inline const QString PresetHeaderRow =
    QStringLiteral(",[拡張子],[ｻｲｽﾞ],[ｺｰﾃﾞｯｸ],[ﾌﾚｰﾑﾚｰﾄ],[ﾋﾞｯﾄﾚｰﾄ],[ｺｰﾃﾞｯｸ],[ｻﾝﾌﾟﾙﾚｰﾄ],[ﾋﾞｯﾄﾚｰﾄ]");

// The video codecs a preset can choose, in the order they are searched.
inline const QStringList VideoCodecs = {QStringLiteral("LIBX264"), QStringLiteral("MPEG4")};

// The fields of a preset record that applying reads, in the order they are applied.
enum class PresetStep { PictureSize, VideoCodec, FrameRate, VideoBitRate, SampleRate, AudioBitRate, Done };

// What a preset record says, read field by field until the first number that is not one.
struct ParsedPreset {
    std::optional<int> PictureSizeIndex; // none: the size is not one of the offered ones
    QString VideoCodec;                  // the first codec whose name contains the field, else the first
    int FrameRate = 0;
    int VideoBitRate = 0;
    std::optional<int> SampleRateIndex; // none: the rate is not one of the offered ones
    int AudioBitRate = 0;

    PresetStep FailedAt = PresetStep::Done; // the first step whose number could not be read
    QString FailedText;                     // the text that was to be that number

    bool Complete() const { return FailedAt == PresetStep::Done; }
};

// Reads a record of profile.txt by the comma rule: field 2 the picture size, 3 the codec, 4 the
// frame rate before "fps", 5 the video bit rate before "kbps", 7 the sample rate before "Hz", 8 the
// audio bit rate before "kbps". Missing fields read as empty text.
ParsedPreset ParsePreset(const QString& record);

// Sets what `preset` says on `settings`, in step order, up to the step that failed; values are
// clamped into their ranges, and a size or rate that is not offered leaves its setting alone.
void ApplyPreset(const ParsedPreset& preset, ConversionSettings& settings);
