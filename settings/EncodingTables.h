#pragma once

#include <QString>
#include <array>
#include <optional>

// The picture sizes and audio sample rates the program offers, by index. The command line, the
// presets and the window's labels all read them from here.

struct PictureSize {
    const char* Size;   // as the encoder and the presets write it: "720x480"
    const char* Aspect; // the shape it is shown in: "16:9"
};

// 720x480 is shown widescreen; only 640x480 is 4:3.
inline constexpr std::array<PictureSize, 4> PictureSizes{{
    {"640x480", "4:3"},
    {"720x480", "16:9"},
    {"960x540", "16:9"},
    {"1280x720", "16:9"},
}};

// The index grows as the rate falls.
inline constexpr std::array<int, 5> SampleRates{48000, 44100, 22050, 11025, 8000};

// The index of a size written exactly as in the table ("1280X720" is none).
std::optional<int> PictureSizeIndexOf(const QString& size);

// The index of a sample rate in Hz.
std::optional<int> SampleRateIndexOf(int hertz);
