#include "controls/FadeStep.h"

#include <algorithm>

namespace
{

constexpr int MaxChannel = 255;

int Red(TColor color)
{
    return color & 0xFF;
}

int Green(TColor color)
{
    return (color >> 8) & 0xFF;
}

int Blue(TColor color)
{
    return (color >> 16) & 0xFF;
}

// The low bound wins first and the high bound last, as the fade has always done: with low above
// high the channel lands on high.
int Bounded(int channel, int low, int high)
{
    if (channel <= low)
        channel = low;
    if (channel >= high)
        channel = high;
    return channel;
}

} // namespace

TColor ToTColor(QColor color)
{
    return RGBColor(color.red(), color.green(), color.blue());
}

QColor FromTColor(TColor color)
{
    return QColor(Red(color), Green(color), Blue(color));
}

FadeResult ERGB(int red, int green, int blue, bool bounded, bool noStop, TColor low, TColor high)
{
    if (bounded) {
        red = Bounded(red, Red(low), Red(high));
        green = Bounded(green, Green(low), Green(high));
        blue = Bounded(blue, Blue(low), Blue(high));
    } else {
        red = std::clamp(red, 0, MaxChannel);
        green = std::clamp(green, 0, MaxChannel);
        blue = std::clamp(blue, 0, MaxChannel);
    }
    const TColor result = RGBColor(red, green, blue);
    return {result, !noStop && (result <= low || result >= high)};
}

FadeResult FadeStep(TColor current, int delta, bool noStop, TColor low, TColor high)
{
    return ERGB(Red(current) + delta, Green(current) + delta, Blue(current) + delta, true, noStop, low, high);
}
