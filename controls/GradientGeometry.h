#pragma once

#include "platform/StockControls.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// The arithmetic of the gradient progress bar: where its bar, blocks, pictures and text lie and
// which strip a position change repaints. Rectangles are QRects (right and bottom inclusive).

// Which way the bar grows: vertical bars upwards from the bottom, horizontal ones to the right.
enum class TBarOrientation { orVertical, orHorizontal };

inline bool IsHorizontal(TBarOrientation orientation)
{
    return orientation == TBarOrientation::orHorizontal;
}

// How the bar is drawn: one colour, blocks of one colour, a gradient, gradient-coloured blocks,
// or a row of repeated pictures.
enum class TBarStyle { sSolid, sRectangles, sExSolid, sExRectangles, sPictures };

// What the text shows: the percentage or the plain position.
enum class TShowTextStyle { stsPercent, stsPosition };

// The range of the bar and where it stands. Position is not clamped to Min..Max.
struct BarRange {
    int Min = 0;
    int Max = 100;
    int Position = 0;
};

// One block of the block styles: its rectangle and how far along the inner rectangle its colour
// lies (the k of BlendColor).
struct BarBlock {
    QRect Rect;
    int Along;
};

// The client rectangle less the outer bevel's two-pixel border, when there is a bevel.
QRect InnerRect(const QRect& client, TBevelCut bevelOuter);

// The filled part of `inner`; empty when there is no bar (Position at or below Min, or Max = Min).
QRect BarRect(const QRect& inner, const BarRange& range, TBarOrientation orientation);

// Length of the inner rectangle along the bar.
int AlongLength(const QRect& inner, TBarOrientation orientation);

// Distance from one block to the next for a bar `across` pixels thick.
int BlockPitch(int across);

// The colour k/n of the way from `begin` to `end`, each channel truncated toward zero.
QColor BlendColor(QColor begin, QColor end, int k, int n);

// The blocks of a block style in drawing order; `full` adds the final piece that fills the rest.
std::vector<BarBlock> BarBlocks(const QRect& bar, TBarOrientation orientation, bool full);

// Top-left corners of the pictures of the picture style; `atMax` adds the last picture.
std::vector<QPoint> PicturePlaces(const QRect& bar, QSize glyph, TBarOrientation orientation, bool atMax);

// The text shown on the bar; empty when there is no percentage to show (Max = Min).
QString BarText(const BarRange& range, TShowTextStyle style);

// The widest text the bar shows within its range, for sizing the box repainted with the text.
QString WidestBarText(const BarRange& range, TShowTextStyle style);

// Where text of `textSize` (width, height as written) stands centred on a control of `control`
// size; on a vertical bar the text is turned, so its box is textSize's height wide.
QRect TextBox(QSize control, QSize textSize, TBarOrientation orientation);

// The strip of `client` that changes when the position moves from `oldPosition` to the range's
// position: between the two bar ends plus 2 pixels, and one block or picture more on each end.
QRect PositionStrip(const QRect& client, const BarRange& range, int oldPosition, TBarOrientation orientation,
                    TBarStyle style, QSize glyph);
