#include "controls/GradientProgressBar.h"
#include "platform/Fonts.h"
#include "tests/support/Ink.h"
#include "tests/support/Printers.h"
#include "tests/support/Repaints.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace
{

constexpr TBarOrientation Horizontal = TBarOrientation::orHorizontal;
constexpr TBarOrientation Vertical = TBarOrientation::orVertical;
constexpr int Thickness = 15; // a bar this thick has an inner thickness of 11
const QColor Red(0xFF, 0, 0);
const QColor Green(0, 0xFF, 0);

// A bar on black, `along` pixels long, so that no bar colour is taken for background.
void Shape(GradientProgressBar& bar, TBarOrientation orientation, int along)
{
    QPalette colours = bar.palette();
    colours.setColor(QPalette::Window, Qt::black);
    bar.setPalette(colours);
    bar.SetOrientation(orientation);
    bar.resize(IsHorizontal(orientation) ? QSize(along, Thickness) : QSize(Thickness, along));
}

QImage Render(GradientProgressBar& bar)
{
    return bar.grab().toImage();
}

TEST(Blocks, GrowInWholeBlocksOfSevenWithGapsOfTwo)
{
    const struct {
        const char* name;
        TBarOrientation orientation;
        int innerLength;
        int max;
        int position;
        QString filled; // from the bar's start along the inner rectangle: '#' block, '.' none
    } cases[] = {
        {"noBlockUntilTheBarPassesItsGap", Horizontal, 100, 100, 9, ""},
        {"firstBlockOnePixelBeyondItsGap", Horizontal, 100, 100, 10, "#######"},
        {"finalPieceAtMax", Horizontal, 100, 100, 100, QString("#######..").repeated(11) + "#"},
        {"lowestBlockEndsAboveTheBottom", Vertical, 100, 100, 10, ".#######"},
        {"shortFullBarFromItsStart", Horizontal, 4, 1, 1, "####"},
        {"shortFullVerticalBarFromItsStart", Vertical, 4, 1, 1, "####"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GradientProgressBar bar;
        Shape(bar, c.orientation, c.innerLength + 4);
        bar.SetStyle(TBarStyle::sRectangles);
        bar.SetMax(c.max);
        bar.SetPosition(c.position);
        const QImage image = Render(bar);
        QString filled;
        for (int i = -2; i < c.innerLength + 2; ++i) { // the bevel on both ends too
            const QPoint at = IsHorizontal(c.orientation) ? QPoint(2 + i, Thickness / 2)
                                                          : QPoint(Thickness / 2, image.height() - 3 - i);
            filled += image.pixelColor(at) == bar.BeginColor() ? '#' : '.';
        }
        EXPECT_EQ(filled, ".." + c.filled.leftJustified(c.innerLength, '.') + "..");
    }
}

// (The horizontal start at the begin colour exactly is checked on the progress window's bar.)
TEST(Gradient, VerticalStartsOneStepIn)
{
    GradientProgressBar bar;
    Shape(bar, Vertical, Thickness);
    bar.SetStyle(TBarStyle::sExSolid);
    bar.SetBeginColor(QColor(0x80, 0x80, 0x80));
    bar.SetPosition(bar.Max());
    EXPECT_EQ(Render(bar).pixelColor(7, 12), QColor(139, 139, 139)); // 128 + 127 / 11 in the bottom row
}

TEST(Text, PercentRoundsHalvesToEven)
{
    const struct {
        BarRange range;
        TShowTextStyle style;
        QString text;
    } cases[] = {
        {{0, 8, 1}, TShowTextStyle::stsPercent, "12 %"},    // 12.5
        {{0, 200, 27}, TShowTextStyle::stsPercent, "14 %"}, // 13.5
        {{0, 8, -1}, TShowTextStyle::stsPercent, "-12 %"},  // -12.5
        {{0, 4, 6}, TShowTextStyle::stsPercent, "150 %"},   // beyond Max
        {{3, 3, 5}, TShowTextStyle::stsPercent, ""},        // no range, no percentage
        {{0, 4, -3}, TShowTextStyle::stsPosition, "-3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BarText(c.range, c.style), c.text) << c.range.Max << " " << c.range.Position;
}

TEST(Text, CentredAndTurnedOnVerticalBars)
{
    for (const TBarOrientation orientation : {Horizontal, Vertical}) {
        GradientProgressBar bar;
        Shape(bar, orientation, 120);
        bar.setFont(Fonts::Pixel(Fonts::UiGothic, 11));
        bar.SetFontColor(Qt::white);
        bar.SetPosition(50);
        bar.SetShowText(true);
        const QImage withText = Render(bar);
        bar.SetShowText(false);
        const QRect ink = InkBox(withText, Render(bar));
        EXPECT_NEAR(ink.center().x(), bar.width() / 2, 2);
        EXPECT_NEAR(ink.center().y(), bar.height() / 2, 2);
        EXPECT_EQ(ink.width() > ink.height(), IsHorizontal(orientation));
    }
}

TEST(Setters, StoreAndRepaintOnlyWhatChangesThePicture)
{
    using Bar = GradientProgressBar;
    const struct {
        const char* name;
        TBarStyle style;
        std::function<bool(Bar&)> setAndCheck; // says whether the bar then holds the right value
        bool repaints;
    } cases[] = {
        {"maxBelowMinIgnored", TBarStyle::sSolid, [](Bar& b) { return b.SetMax(4), b.Max() == 50; }, false},
        {"sameMaxDoesNothing", TBarStyle::sSolid, [](Bar& b) { return b.SetMax(50), b.Max() == 50; }, false},
        {"minAboveMaxIgnored", TBarStyle::sSolid, [](Bar& b) { return b.SetMin(51), b.Min() == 5; }, false},
        {"newMaxRepaints", TBarStyle::sSolid, [](Bar& b) { return b.SetMax(60), b.Max() == 60; }, true},
        {"endColourOfAPlainBarOnlyStored", TBarStyle::sSolid,
         [](Bar& b) { return b.SetEndColor(Red), b.EndColor() == Red; }, false},
        {"endColourOfAGradientRepaints", TBarStyle::sExRectangles,
         [](Bar& b) { return b.SetEndColor(Red), b.EndColor() == Red; }, true},
        {"beginColourOfPicturesOnlyStored", TBarStyle::sPictures,
         [](Bar& b) { return b.SetBeginColor(Red), b.BeginColor() == Red; }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bar bar;
        bar.SetStyle(c.style);
        bar.SetMax(50);
        bar.SetMin(5);
        ASSERT_TRUE(ShowSettled(bar));
        PaintRecorder paints(bar);
        EXPECT_TRUE(c.setAndCheck(bar));
        EXPECT_EQ(!paints.Rects.empty() || !NothingElseToPaint(bar), c.repaints);
    }
}

// On a bar 104 pixels long with Max 104 a position is also a pixel offset.
TEST(PositionChange, RepaintsTheChangedStripAtOnce)
{
    const struct {
        const char* name;
        TBarStyle style;
        TBarOrientation orientation;
        int from;
        int to;
        QRect strip;
    } cases[] = {
        {"growingPlusTwoPixels", TBarStyle::sExSolid, Horizontal, 20, 50, QRect(18, 0, 34, 15)},
        {"shrinkingTheSame", TBarStyle::sExSolid, Horizontal, 50, 20, QRect(18, 0, 34, 15)},
        {"blocksOneBlockMore", TBarStyle::sRectangles, Horizontal, 20, 50, QRect(6, 0, 58, 15)},
        {"verticalFromTheBottom", TBarStyle::sExSolid, Vertical, 20, 50, QRect(0, 52, 15, 34)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GradientProgressBar bar;
        Shape(bar, c.orientation, 104);
        bar.SetStyle(c.style);
        bar.SetMax(104);
        bar.SetPosition(c.from);
        ASSERT_TRUE(ShowSettled(bar));
        PaintRecorder paints(bar);
        bar.SetPosition(c.to);
        EXPECT_EQ(paints.Rects, std::vector<QRect>{c.strip});
    }
}

TEST(Glyph, SetsTheThicknessRepeatsAlongTheBarAndSeesThroughItsBottomLeftColour)
{
    QImage glyph(3, 9, QImage::Format_RGB32);
    glyph.fill(Red);
    glyph.setPixelColor(0, 8, Green); // bottom-left: the see-through colour
    GradientProgressBar bar;
    Shape(bar, Horizontal, 14); // inner 10 long
    bar.SetStyle(TBarStyle::sPictures);
    bar.SetGlyph(glyph);
    EXPECT_EQ(bar.height(), 13);
    bar.SetMax(10);
    bar.SetPosition(9);
    QImage image = Render(bar);
    EXPECT_EQ(image.pixelColor(7, 5), Red);        // second picture
    EXPECT_EQ(image.pixelColor(8, 5), Qt::black);  // no third before Max
    EXPECT_EQ(image.pixelColor(2, 10), Qt::black); // the key colour
    bar.SetPosition(10);
    image = Render(bar);
    EXPECT_EQ(image.pixelColor(11, 5), Red);       // the last picture, at Max
    EXPECT_EQ(image.pixelColor(12, 5), Qt::black); // cut off at the inner rectangle
    bar.SetTransparentGlyph(false);
    EXPECT_EQ(Render(bar).pixelColor(2, 10), Green);
}

} // namespace
