#pragma once

#include <QColor>
#include <cstdint>

// A plain colour as the fade arithmetic sees it: blue × 65536 + green × 256 + red. Fades compare
// these whole numbers, so the order of the channels matters.
using TColor = std::int32_t;

constexpr TColor RGBColor(int red, int green, int blue)
{
    return red + 256 * green + 65536 * blue;
}

TColor ToTColor(QColor color);
QColor FromTColor(TColor color);

// The colour a fade tick arrived at, and whether the fade stops there.
struct FadeResult {
    TColor Color;
    bool Stop;
};

// Builds a colour from channels a fade tick may have pushed out of range. Unbounded, each channel
// is clamped to 0..255. Bounded, each channel is first raised to the low colour's channel and then
// cut to the high colour's, so where low is above high the channel ends at high. Unless `noStop`,
// the fade stops when the result is at or beyond either bound, compared as whole numbers.
FadeResult ERGB(int red, int green, int blue, bool bounded, bool noStop, TColor low, TColor high);

// One bounded fade tick: every channel of `current` moves by `delta` and is kept within low..high.
FadeResult FadeStep(TColor current, int delta, bool noStop, TColor low, TColor high);
