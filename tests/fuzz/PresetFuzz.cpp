// libFuzzer target: any preset file parses line by line, and applying any preset leaves every
// setting within its range.
#include "settings/ConversionSettings.h"
#include "settings/Preset.h"
#include "settings/ProfileLines.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{
bool WithinRanges(const ConversionSettings& s)
{
    return s.Clamped().FrameRate == s.FrameRate && s.Clamped().VideoBitRate == s.VideoBitRate &&
           s.Clamped().AudioBitRate == s.AudioBitRate && s.Clamped().SampleRateIndex == s.SampleRateIndex &&
           s.Clamped().PictureSizeIndex == s.PictureSizeIndex && VideoCodecs.contains(s.VideoCodec);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& record : ProfileLines(bytes)) {
        ConversionSettings settings;
        ApplyPreset(ParsePreset(record), settings);
        if (!WithinRanges(settings))
            std::abort();
    }
    return 0;
}
