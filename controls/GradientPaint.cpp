#include "controls/GradientPaint.h"

#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

namespace
{

// Clockwise in screen coordinates: the turned text runs from top to bottom.
constexpr qreal QuarterTurn = 90;

// Draws the bar or block edge; an empty rectangle has none.
void DrawBarBevel(QPainter& painter, const QRect& rect, TBevelCut cut)
{
    if (!rect.isEmpty())
        DrawEdge(painter, rect, cut);
}

// One line per pixel column (or row), coloured by its place on the whole inner rectangle. A
// vertical bar's bottom row is already one step along.
void PaintGradient(QPainter& painter, const QRect& inner, const QRect& bar, const GradientBarLook& look)
{
    const int along = AlongLength(inner, look.Orientation);
    if (IsHorizontal(look.Orientation)) {
        for (int x = bar.left(); x <= bar.right(); ++x)
            painter.fillRect(QRect(x, bar.top(), 1, bar.height()),
                             BlendColor(look.BeginColor, look.EndColor, x - bar.left(), along));
        return;
    }
    const int bottom = bar.bottom() + 1;
    for (int y = bar.bottom(); y >= bar.top(); --y)
        painter.fillRect(QRect(bar.left(), y, bar.width(), 1),
                         BlendColor(look.BeginColor, look.EndColor, bottom - y, along));
}

void PaintBlocks(QPainter& painter, const QRect& inner, const QRect& bar, const GradientBarLook& look)
{
    const bool graded = look.Style == TBarStyle::sExRectangles;
    const int along = AlongLength(inner, look.Orientation);
    const bool full = look.Range.Position >= look.Range.Max;
    for (const BarBlock& block : BarBlocks(bar, look.Orientation, full)) {
        painter.fillRect(block.Rect, graded ? BlendColor(look.BeginColor, look.EndColor, block.Along, along)
                                            : look.BeginColor);
        DrawBarBevel(painter, block.Rect, look.BarBevelOuter);
    }
}

// The glyph with every pixel of its bottom-left colour made transparent.
QImage SeeThrough(const QImage& glyph)
{
    QImage picture = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = picture.pixel(0, picture.height() - 1);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == key)
                picture.setPixel(x, y, qRgba(0, 0, 0, 0));
    return picture;
}

void PaintPictures(QPainter& painter, const QRect& inner, const QRect& bar, const GradientBarLook& look)
{
    if (look.Glyph.width() < 1 || look.Glyph.height() < 1)
        return;
    const QImage picture = look.TransparentGlyph ? SeeThrough(look.Glyph) : look.Glyph;
    // The last picture may reach past the bar; it never covers the bevel.
    painter.setClipRect(inner, Qt::IntersectClip);
    const bool atMax = look.Range.Position == look.Range.Max;
    for (const QPoint& place : PicturePlaces(bar, picture.size(), look.Orientation, atMax))
        painter.drawImage(place, picture);
}

void PaintBar(QPainter& painter, const QRect& inner, const QRect& bar, const GradientBarLook& look)
{
    switch (look.Style) {
    case TBarStyle::sSolid:
        painter.fillRect(bar, look.BeginColor);
        DrawBarBevel(painter, bar, look.BarBevelOuter);
        break;
    case TBarStyle::sExSolid:
        PaintGradient(painter, inner, bar, look);
        DrawBarBevel(painter, bar, look.BarBevelOuter);
        break;
    case TBarStyle::sRectangles:
    case TBarStyle::sExRectangles:
        PaintBlocks(painter, inner, bar, look);
        break;
    case TBarStyle::sPictures:
        PaintPictures(painter, inner, bar, look);
        break;
    }
}

void PaintText(QPainter& painter, const QRect& client, const GradientBarLook& look, const QFont& font)
{
    const QString text = BarText(look.Range, look.ShowTextStyle);
    if (text.isEmpty())
        return;
    const QFont textFont = TextFont(font, look.Orientation);
    const QRect box = TextBoxOf(text, client.size(), font, look.Orientation).translated(client.topLeft());
    const int ascent = QFontMetrics(textFont).ascent();
    painter.setFont(textFont);
    painter.setPen(look.FontColor);
    if (IsHorizontal(look.Orientation)) {
        painter.drawText(box.left(), box.top() + ascent, text);
        return;
    }
    // The turned text's top edge faces right, so its origin is the box's top-right corner.
    painter.translate(box.right() + 1, box.top());
    painter.rotate(QuarterTurn);
    painter.drawText(0, ascent, text);
}

} // namespace

QFont TextFont(const QFont& font, TBarOrientation orientation)
{
    if (IsHorizontal(orientation))
        return font;
    const QFontInfo info(font);
    if (QFontDatabase::isSmoothlyScalable(info.family(), info.styleName()))
        return font;
    QFont outline(font);
    outline.setFamily(Fonts::Installed(Fonts::Arial));
    return outline;
}

QRect TextBoxOf(const QString& text, QSize control, const QFont& font, TBarOrientation orientation)
{
    const QFontMetrics metrics(TextFont(font, orientation));
    return TextBox(control, QSize(metrics.horizontalAdvance(text), metrics.height()), orientation);
}

void PaintGradientBar(QPainter& painter, const QRect& client, const GradientBarLook& look, const QFont& font,
                      QColor background)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(client, background);
    DrawEdge(painter, client, look.BevelOuter);
    const QRect inner = InnerRect(client, look.BevelOuter);
    const QRect bar = BarRect(inner, look.Range, look.Orientation);
    if (!bar.isEmpty()) {
        painter.save();
        PaintBar(painter, inner, bar, look);
        painter.restore();
    }
    if (look.ShowText)
        PaintText(painter, client, look, font);
    painter.restore();
}
