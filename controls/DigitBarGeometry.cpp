#include "controls/DigitBarGeometry.h"

#include "platform/SystemColors.h"

#include <algorithm>
#include <initializer_list>

namespace DigitBarGeometry
{

namespace
{

// How much lighter or darker than the bar its edges are, and how much darker the deep rings.
constexpr int EdgeShade = 128;

int Shifted(int component, int amount)
{
    return std::clamp(component + amount, 0, 255);
}

QColor ShiftedColor(QColor color, int amount)
{
    return QColor(Shifted(color.red(), amount), Shifted(color.green(), amount),
                  Shifted(color.blue(), amount));
}

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Appends the strokes joining `points` in turn, all in `color`.
void AddPolyline(std::vector<Stroke>& strokes, std::initializer_list<QPoint> points, QColor color)
{
    for (auto point = points.begin(); point + 1 != points.end(); ++point)
        strokes.push_back({*point, *(point + 1), color});
}

} // namespace

Layout LayoutOf(int width, int height, int buttonHeight)
{
    return {{0, 0, width, buttonHeight},
            {0, buttonHeight, width, height - buttonHeight},
            {0, height - buttonHeight, width, height}};
}

bool InBar(const Bounds& bar, QPoint point)
{
    return point.x() >= bar.Left && point.x() <= bar.Right && point.y() >= bar.Top && point.y() <= bar.Bottom;
}

int RoundHalfAwayFromZero(double value)
{
    return static_cast<int>(value >= 0 ? value + 0.5 : value - 0.5);
}

int ValueAtHeight(int y, int top, int bottom, int min, int max)
{
    if (y >= bottom)
        return min;
    if (y <= top)
        return max;
    const double span = static_cast<double>(max) - min;
    return RoundHalfAwayFromZero(min + span * (bottom - y) / (bottom - top));
}

int HeightOfValue(int position, int min, int max, int range)
{
    if (min >= max)
        return -1;
    const double share = (static_cast<double>(position) - min) / (static_cast<double>(max) - min);
    return static_cast<int>(share * range + 0.5);
}

int BoxHeight(int textHeight, int bevelWidth, int spacing)
{
    return textHeight + 2 * (bevelWidth + spacing);
}

int BoxRange(const Bounds& bar, int boxHeight)
{
    return bar.Bottom - bar.Top - boxHeight;
}

Bounds ValueBox(const Bounds& bar, int boxHeight, int offset)
{
    if (offset < 0)
        offset = std::max(0, BoxRange(bar, boxHeight) / 2);
    const int half = boxHeight / 2;
    const int centre = bar.Bottom - half - offset;
    return {bar.Left, centre - half, bar.Right, centre + half};
}

int TextLeft(const Bounds& bar, int clientWidth, int textWidth)
{
    return std::max(0, (clientWidth - textWidth) / 2) + bar.Left;
}

QColor Lightened(QColor color, int amount)
{
    return ShiftedColor(color, amount);
}

QColor Darkened(QColor color, int amount)
{
    return ShiftedColor(color, -amount);
}

EdgeColors EdgeColorsOf(QColor barColor)
{
    if (barColor == ColorOf(SystemColor::ButtonFace))
        return {ColorOf(SystemColor::ButtonHighlight), ColorOf(SystemColor::ButtonShadow)};
    return {Lightened(barColor, EdgeShade), Darkened(barColor, EdgeShade)};
}

QRect PixelsOf(const Stroke& stroke)
{
    if (stroke.From == stroke.To)
        return {};
    const QPoint step(Sign(stroke.To.x() - stroke.From.x()), Sign(stroke.To.y() - stroke.From.y()));
    const QPoint last = stroke.To - step;
    return QRect(QPoint(std::min(stroke.From.x(), last.x()), std::min(stroke.From.y(), last.y())),
                 QPoint(std::max(stroke.From.x(), last.x()), std::max(stroke.From.y(), last.y())));
}

std::vector<Stroke> BevelStrokes(Bounds r, QColor topLeft, QColor bottomRight, int width, bool pressed)
{
    std::vector<Stroke> strokes;
    // The rings are walked on their own pixels: right and bottom one in, and out again after.
    --r.Right;
    --r.Bottom;
    for (int ring = 0; ring < width; ++ring) {
        AddPolyline(strokes, {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}}, topLeft);
        AddPolyline(strokes, {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}}, bottomRight);
        r = r.Shrunk(1);
    }
    ++r.Right;
    ++r.Bottom;
    const int n = width;
    if (pressed) {
        AddPolyline(strokes, {{r.Left - 1, r.Bottom}, {r.Left - 1, r.Top - 1}, {r.Right, r.Top - 1}},
                    Darkened(topLeft, EdgeShade));
        AddPolyline(strokes, {{r.Right, r.Top - 1}, {r.Right, r.Bottom}, {r.Left - n, r.Bottom}},
                    Darkened(bottomRight, EdgeShade));
    } else {
        AddPolyline(strokes,
                    {{r.Right + n - 1, r.Top - n},
                     {r.Right + n - 1, r.Bottom + n - 1},
                     {r.Left - n, r.Bottom + n - 1}},
                    Darkened(bottomRight, EdgeShade));
    }
    return strokes;
}

std::vector<Stroke> BarEdgeStrokes(const Bounds& bar, const EdgeColors& colors)
{
    return {{{bar.Left, bar.Top}, {bar.Left, bar.Bottom}, colors.Dark},
            {{bar.Right - 1, bar.Top}, {bar.Right - 1, bar.Bottom}, colors.Light}};
}

} // namespace DigitBarGeometry
