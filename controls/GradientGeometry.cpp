#include "controls/GradientGeometry.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int BevelBorder = 2;
constexpr int StripMargin = 2;
constexpr int BlockGap = 2;
// Far-off positions still give an offset that fits an int; the bar is clamped afterwards.
constexpr double OffsetLimit = 1e9;

// A rectangle from its edges, right and bottom exclusive.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// How far `value` lies from Min on a stretch of `span` pixels; needs Max ≠ Min.
int ScaledOffset(qint64 value, const BarRange& range, int span)
{
    const double offset = static_cast<double>((value - range.Min) * span) / (qint64(range.Max) - range.Min);
    return static_cast<int>(std::clamp(std::trunc(offset), -OffsetLimit, OffsetLimit));
}

qint64 RoundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        return static_cast<qint64>(below) + 1;
    return static_cast<qint64>(below);
}

} // namespace

QRect InnerRect(const QRect& client, TBevelCut bevelOuter)
{
    if (bevelOuter == TBevelCut::bvNone)
        return client;
    return client.adjusted(BevelBorder, BevelBorder, -BevelBorder, -BevelBorder);
}

QRect BarRect(const QRect& inner, const BarRange& range, TBarOrientation orientation)
{
    if (inner.isEmpty() || range.Max == range.Min || range.Position <= range.Min)
        return {};
    const int right = inner.right() + 1;
    const int bottom = inner.bottom() + 1;
    if (IsHorizontal(orientation)) {
        const int end = inner.left() + ScaledOffset(range.Position, range, inner.width());
        return Edges(inner.left(), inner.top(), std::min(end, right), bottom);
    }
    const int top = bottom - ScaledOffset(range.Position, range, inner.height());
    return Edges(inner.left(), std::max(top, inner.top()), right, bottom);
}

int AlongLength(const QRect& inner, TBarOrientation orientation)
{
    return IsHorizontal(orientation) ? inner.width() : inner.height();
}

int BlockPitch(int across)
{
    return 2 * across / 3 + BlockGap;
}

QColor BlendColor(QColor begin, QColor end, int k, int n)
{
    if (n <= 0)
        return begin;
    auto blend = [k, n](int from, int to) {
        return static_cast<int>(std::trunc(from + static_cast<double>((to - from) * k) / n));
    };
    return QColor(blend(begin.red(), end.red()), blend(begin.green(), end.green()),
                  blend(begin.blue(), end.blue()));
}

std::vector<BarBlock> BarBlocks(const QRect& bar, TBarOrientation orientation, bool full)
{
    std::vector<BarBlock> blocks;
    if (bar.isEmpty())
        return blocks;
    const int right = bar.right() + 1;
    const int bottom = bar.bottom() + 1;
    QRect rest;
    int restAlong = 0;
    if (IsHorizontal(orientation)) {
        const int pitch = BlockPitch(bar.height());
        int last = bar.left();
        for (int x = bar.left() + pitch; x < right; x += pitch) {
            blocks.push_back({Edges(x - pitch, bar.top(), x - BlockGap, bottom), x - bar.left()});
            last = x;
        }
        rest = Edges(last, bar.top(), right, bottom);
        restAlong = last - bar.left();
    } else {
        const int pitch = BlockPitch(bar.width());
        int last = bottom;
        for (int y = bottom - 1 - pitch; y >= bar.top(); y -= pitch) {
            blocks.push_back({Edges(bar.left(), y + BlockGap, right, y + pitch), bottom - y});
            last = y;
        }
        rest = Edges(bar.left(), bar.top(), right, last);
        restAlong = bottom - last;
    }
    if (full && !rest.isEmpty())
        blocks.push_back({rest, restAlong});
    return blocks;
}

std::vector<QPoint> PicturePlaces(const QRect& bar, QSize glyph, TBarOrientation orientation, bool atMax)
{
    std::vector<QPoint> places;
    if (bar.isEmpty() || glyph.isEmpty())
        return places;
    const int right = bar.right() + 1;
    const int bottom = bar.bottom() + 1;
    if (IsHorizontal(orientation)) {
        const int pitch = glyph.width();
        int last = bar.left();
        for (int x = bar.left() + pitch; x < right; x += pitch) {
            places.emplace_back(x - pitch, bar.top());
            last = x;
        }
        if (atMax)
            places.emplace_back(last, bar.top());
    } else {
        const int pitch = glyph.height();
        int last = bottom;
        for (int y = bottom - 1 - pitch; y >= bar.top(); y -= pitch) {
            places.emplace_back(bar.left(), y);
            last = y;
        }
        if (atMax)
            places.emplace_back(bar.left(), last - pitch);
    }
    return places;
}

QString BarText(const BarRange& range, TShowTextStyle style)
{
    if (style == TShowTextStyle::stsPosition)
        return QString::number(range.Position);
    if (range.Max == range.Min)
        return {};
    const double percent = (static_cast<double>(range.Position) - range.Min) * 100 /
                           (static_cast<double>(range.Max) - range.Min);
    return QString::number(RoundHalfToEven(percent)) + QStringLiteral(" %");
}

QString WidestBarText(const BarRange& range, TShowTextStyle style)
{
    return style == TShowTextStyle::stsPosition ? QString::number(range.Max) : QStringLiteral("100 %");
}

QRect TextBox(QSize control, QSize textSize, TBarOrientation orientation)
{
    const QSize box = IsHorizontal(orientation) ? textSize : textSize.transposed();
    return QRect((control.width() - box.width()) / 2, (control.height() - box.height()) / 2, box.width(),
                 box.height());
}

QRect PositionStrip(const QRect& client, const BarRange& range, int oldPosition, TBarOrientation orientation,
                    TBarStyle style, QSize glyph)
{
    if (range.Max == range.Min)
        return {};
    const bool horizontal = IsHorizontal(orientation);
    const int span = horizontal ? client.width() : client.height();
    const int low = ScaledOffset(std::min(oldPosition, range.Position), range, span);
    const int high = ScaledOffset(std::max(oldPosition, range.Position), range, span);
    const int right = client.right() + 1;
    const int bottom = client.bottom() + 1;
    QRect strip = horizontal
                      ? Edges(client.left() + low - StripMargin, client.top(),
                              client.left() + high + StripMargin, bottom)
                      : Edges(client.left(), bottom - high - StripMargin, right, bottom - low + StripMargin);
    int widen = 0;
    if (style == TBarStyle::sRectangles || style == TBarStyle::sExRectangles)
        widen = BlockPitch(horizontal ? strip.height() : strip.width());
    else if (style == TBarStyle::sPictures)
        widen = horizontal ? glyph.width() : glyph.height();
    return horizontal ? strip.adjusted(-widen, 0, widen, 0) : strip.adjusted(0, -widen, 0, widen);
}
