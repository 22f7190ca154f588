#pragma once

#include "controls/GradientGeometry.h"

#include <QColor>
#include <QFont>
#include <QImage>

class QPainter;

constexpr QColor DefaultBeginColor{0x00, 0x00, 0x80};
constexpr QColor DefaultEndColor{0xFF, 0xFF, 0xFF};

// What the gradient progress bar draws from, apart from its font and background.
struct GradientBarLook {
    BarRange Range;
    TBarOrientation Orientation = TBarOrientation::orVertical;
    TBarStyle Style = TBarStyle::sRectangles;
    QColor BeginColor = DefaultBeginColor;       // the bar's colour; start of the gradients
    QColor EndColor = DefaultEndColor;           // end of the gradients
    TBevelCut BevelOuter = TBevelCut::bvLowered; // edge around the whole control
    TBevelCut BarBevelOuter = TBevelCut::bvNone; // edge around the bar or each block
    bool ShowText = false;
    TShowTextStyle ShowTextStyle = TShowTextStyle::stsPercent;
    QImage Glyph;                 // the picture repeated by sPictures
    bool TransparentGlyph = true; // the glyph's bottom-left colour is see-through
    QColor FontColor = Qt::black;
};

// The font the text is written in: `font` itself, or on a vertical bar a font that can be turned
// (a font without outlines is replaced by Arial of the same size and style).
QFont TextFont(const QFont& font, TBarOrientation orientation);

// Where `text` stands on a control of size `control` when written in TextFont(font).
QRect TextBoxOf(const QString& text, QSize control, const QFont& font, TBarOrientation orientation);

// Draws the whole control into `client`: background, outer bevel, bar and text.
void PaintGradientBar(QPainter& painter, const QRect& client, const GradientBarLook& look, const QFont& font,
                      QColor background);
