#include "settings/Preset.h"

#include "platform/CommaRule.h"
#include "platform/WholeNumber.h"
#include "settings/ConversionSettings.h"
#include "settings/EncodingTables.h"

namespace
{

// Fields of a preset record.
enum PresetField : int {
    SizeField = 2,
    CodecField = 3,
    FrameRateField = 4,
    VideoBitRateField = 5,
    SampleRateField = 7,
    AudioBitRateField = 8,
};

// The text before the first `unit` ("30" in "30fps"; what follows the unit is ignored). A field
// without the unit, or starting with it, gives the empty text.
QString TextBeforeUnit(const QString& field, const QString& unit)
{
    const qsizetype position = field.indexOf(unit);
    return position > 0 ? field.left(position) : QString();
}

QString CodecFor(const QString& field)
{
    for (const QString& codec : VideoCodecs) {
        if (!field.isEmpty() && codec.contains(field))
            return codec;
    }
    return VideoCodecs.first();
}

// Reads the numbers of the record in step order, stopping at the first that is not one.
class NumberReader
{
public:
    NumberReader(const QStringList& fields, ParsedPreset& preset) : m_fields(fields), m_preset(preset) {}

    // Reads the number before `unit` in `field` into `target`; false once a step has failed.
    bool Read(PresetStep step, int field, const char* unit, int& target)
    {
        const QString text = TextBeforeUnit(m_fields.value(field), QLatin1String(unit));
        const std::optional<int> number = ParseWholeNumber(text);
        if (!number) {
            m_preset.FailedAt = step;
            m_preset.FailedText = text;
            return false;
        }
        target = *number;
        return true;
    }

private:
    const QStringList& m_fields;
    ParsedPreset& m_preset;
};

} // namespace

ParsedPreset ParsePreset(const QString& record)
{
    const QStringList fields = CommaTextFields(record);
    ParsedPreset preset;
    preset.PictureSizeIndex = PictureSizeIndexOf(fields.value(SizeField));
    preset.VideoCodec = CodecFor(fields.value(CodecField));
    NumberReader numbers(fields, preset);
    int sampleRate = 0;
    const bool allRead =
        numbers.Read(PresetStep::FrameRate, FrameRateField, "fps", preset.FrameRate) &&
        numbers.Read(PresetStep::VideoBitRate, VideoBitRateField, "kbps", preset.VideoBitRate) &&
        numbers.Read(PresetStep::SampleRate, SampleRateField, "Hz", sampleRate) &&
        numbers.Read(PresetStep::AudioBitRate, AudioBitRateField, "kbps", preset.AudioBitRate);
    if (allRead || preset.FailedAt == PresetStep::AudioBitRate)
        preset.SampleRateIndex = SampleRateIndexOf(sampleRate);
    return preset;
}

void ApplyPreset(const ParsedPreset& preset, ConversionSettings& settings)
{
    const auto reached = [&preset](PresetStep step) { return step < preset.FailedAt; };
    if (preset.PictureSizeIndex)
        settings.PictureSizeIndex = *preset.PictureSizeIndex;
    settings.VideoCodec = preset.VideoCodec;
    if (reached(PresetStep::FrameRate))
        settings.FrameRate = Ranges::FrameRate.Clamped(preset.FrameRate);
    if (reached(PresetStep::VideoBitRate))
        settings.VideoBitRate = Ranges::VideoBitRate.Clamped(preset.VideoBitRate);
    if (reached(PresetStep::SampleRate) && preset.SampleRateIndex)
        settings.SampleRateIndex = *preset.SampleRateIndex;
    if (reached(PresetStep::AudioBitRate))
        settings.AudioBitRate = Ranges::AudioBitRate.Clamped(preset.AudioBitRate);
}
