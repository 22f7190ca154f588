#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <vector>

// The plain arithmetic of the digit bar: where its parts lie, how a pointer height maps to a
// value and back, and the strokes of its 3-D edges. Rectangles here exclude their right and
// bottom edges, and strokes exclude their last point, as the bar's drawing steps are written.
namespace DigitBarGeometry
{

// A rectangle whose Right column and Bottom row lie just outside it.
struct Bounds {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    // The same pixels as a QRect.
    QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    // The rectangle moved in by `by` on every side.
    Bounds Shrunk(int by) const { return {Left + by, Top + by, Right - by, Bottom - by}; }
};

// The up button on top, the bar in the middle and the down button at the bottom.
struct Layout {
    Bounds Up;
    Bounds Bar;
    Bounds Down;
};

Layout LayoutOf(int width, int height, int buttonHeight);

// True when `point` lies in `bar` or on any of its four edges.
bool InBar(const Bounds& bar, QPoint point);

// The whole number nearest to `value`; a half goes away from zero.
int RoundHalfAwayFromZero(double value);

// The value that a pointer at height `y` chooses: `max` at or above `top`, `min` at or below
// `bottom`, and in proportion in between.
int ValueAtHeight(int y, int top, int bottom, int min, int max);

// How far above the bottom of `range` pixels the value box of `position` sits; -1 when the
// range of values is empty (min >= max).
int HeightOfValue(int position, int min, int max, int range);

// The height of the value box around text `textHeight` pixels high.
int BoxHeight(int textHeight, int bevelWidth, int spacing);

// The value box in `bar`, raised `offset` pixels from the bar's bottom; a negative offset (no
// range of values) centres the box in the bar.
Bounds ValueBox(const Bounds& bar, int boxHeight, int offset);

// The room the bar leaves for the value box to move in.
int BoxRange(const Bounds& bar, int boxHeight);

// The left of a text `textWidth` wide centred across a control `clientWidth` wide.
int TextLeft(const Bounds& bar, int clientWidth, int textWidth);

// Each of red, green and blue raised (capped at 255) or lowered (floored at 0) by `amount`.
QColor Lightened(QColor color, int amount);
QColor Darkened(QColor color, int amount);

// The light and dark edge colours of buttons and bar drawn in `barColor`.
struct EdgeColors {
    QColor Light;
    QColor Dark;
};
EdgeColors EdgeColorsOf(QColor barColor);

// A horizontal or vertical line from From up to, not including, To.
struct Stroke {
    QPoint From;
    QPoint To;
    QColor Color;
};

// The pixels a stroke covers; empty when From equals To.
QRect PixelsOf(const Stroke& stroke);

// The 3-D edge of `rect`, `width` rings deep: `topLeft` along the top and left, `bottomRight`
// along the bottom and right. Pressed deepens the innermost ring; not pressed darkens the outer
// bottom and right edge. What is left inside is `rect` shrunk by `width`.
std::vector<Stroke> BevelStrokes(Bounds rect, QColor topLeft, QColor bottomRight, int width, bool pressed);

// The bar's two side edges: dark on the left, light on the right.
std::vector<Stroke> BarEdgeStrokes(const Bounds& bar, const EdgeColors& colors);

} // namespace DigitBarGeometry
