#include "settings/EncodingTables.h"

std::optional<int> PictureSizeIndexOf(const QString& size)
{
    for (size_t i = 0; i < PictureSizes.size(); ++i) {
        if (size == QLatin1String(PictureSizes[i].Size))
            return static_cast<int>(i);
    }
    return std::nullopt;
}

std::optional<int> SampleRateIndexOf(int hertz)
{
    for (size_t i = 0; i < SampleRates.size(); ++i) {
        if (hertz == SampleRates[i])
            return static_cast<int>(i);
    }
    return std::nullopt;
}
