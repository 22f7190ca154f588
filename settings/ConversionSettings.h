#pragma once

#include <QString>
#include <algorithm>

// A whole-number setting's range; values outside it are moved to its nearest end.
struct ValueRange {
    int Min;
    int Max;
    constexpr int Clamped(int value) const { return std::clamp(value, Min, Max); }
};

namespace Ranges
{
constexpr ValueRange FrameRate{1, 30};        // frames per second
constexpr ValueRange VideoBitRate{512, 5000}; // kbit/s
constexpr ValueRange SampleRateIndex{0, 4};   // 0 = 48000 Hz ... 4 = 8000 Hz
constexpr ValueRange AudioBitRate{16, 160};   // kbit/s
constexpr ValueRange PictureSizeIndex{0, 3};  // 0 = 640x480 ... 3 = 1280x720
} // namespace Ranges

// The settings one conversion pass is built from.
struct ConversionSettings {
    int FrameRate = 30;
    int VideoBitRate = 2048;
    int SampleRateIndex = 1;
    int AudioBitRate = 128;
    int PictureSizeIndex = 1;
    QString VideoCodec; // "LIBX264" or "MPEG4"; empty until a preset chose one
    bool TwoPass = false;
    QString OutputFolder; // without trailing separator

    // The same settings with every number moved into its range.
    ConversionSettings Clamped() const;
};
