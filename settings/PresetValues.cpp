#include "settings/PresetValues.h"

#include "platform/Errors.h"
#include "platform/WholeNumber.h"

#include <array>

namespace
{

const std::array<QString, 4> PictureSizes = {QStringLiteral("640x480"), QStringLiteral("720x480"),
                                             QStringLiteral("960x540"), QStringLiteral("1280x720")};
constexpr std::array<int, 5> SampleRates = {48000, 44100, 22050, 11025, 8000};

} // namespace

int StrToInt(const QString& text)
{
    const std::optional<int> value = ParseWholeNumber(text);
    if (!value)
        throw EConvertError(text);
    return *value;
}

int NumberBeforeUnit(const QString& field, const QString& unit)
{
    const qsizetype position = field.indexOf(unit);
    return StrToInt(position > 0 ? field.left(position) : QString());
}

std::optional<int> PictureSizeIndex(const QString& field)
{
    for (size_t i = 0; i < PictureSizes.size(); ++i) {
        if (field == PictureSizes[i])
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<int> SampleRateIndex(int hertz)
{
    for (size_t i = 0; i < SampleRates.size(); ++i) {
        if (hertz == SampleRates[i])
            return static_cast<int>(i);
    }
    return std::nullopt;
}
