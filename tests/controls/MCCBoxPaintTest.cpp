#include "controls/MCCBox.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/SystemColors.h"
#include "tests/controls/SampleRecords.h"
#include "tests/support/Repaints.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

// ---- painting ----

const QColor White(0xFF, 0xFF, 0xFF);
const QColor Grey(0xF0, 0xF0, 0xF0);
const QColor Video(0xFF, 0xC4, 0xFF);
const QColor Audio(0xC4, 0xFF, 0xFF);
const QColor TextGrey(0x46, 0x46, 0x46);
constexpr int RowHeight = 13;

struct ColumnSpec {
    int width;
    QColor color;
};

// The nine columns of the preset list.
const std::vector<ColumnSpec> PresetColumns = {{220, White}, {60, Grey},  {60, Video},
                                               {70, Video},  {60, Video}, {60, Video},
                                               {60, Audio},  {60, Audio}, {60, Audio}};

class Painting : public ::testing::Test
{
protected:
    Painting()
    {
        combo.Columns().Clear();
        for (const ColumnSpec& spec : PresetColumns) {
            TCBColumn& column = combo.Columns().Add();
            column.SetWidth(spec.width);
            column.SetColor(spec.color);
            column.SetFont({Fonts::Pixel(Fonts::UiGothic, 11), TextGrey});
        }
        combo.SetIndent(1);
        combo.SetItemHeight(RowHeight);
    }

    QImage Row(int index, bool selected, int width = 710)
    {
        QImage image(width, RowHeight, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        combo.DrawItem(painter, index, image.rect(), selected);
        return image;
    }

    QImage Cell(const QString& text, TAlignment alignment = taLeftJustify, int width = 60)
    {
        TMultiColComboBox single;
        single.Columns()[0].SetWidth(width);
        single.Columns()[0].SetAlignment(alignment);
        single.Columns()[0].SetFont({Fonts::Pixel(Fonts::UiGothic, 11), TextGrey});
        single.SetIndent(combo.Indent());
        single.Items().Add('"' + text + '"');
        QImage image(width, RowHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        single.DrawItem(painter, 0, image.rect(), false);
        return image;
    }

    QImage Field(bool selected)
    {
        QImage image(280, RowHeight, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        combo.PaintSelectionField(painter, image.rect(), selected);
        return image;
    }

    TMultiColComboBox combo;
};

QColor At(const QImage& image, int x, int y = RowHeight / 2)
{
    return image.pixelColor(x, y);
}

// The columns [first, last] of `image` where some pixel differs from `background`; {-1, -1}
// when there is none.
std::pair<int, int> InkSpan(const QImage& image, QColor background)
{
    std::pair<int, int> span{-1, -1};
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != background) {
                span = {span.first < 0 ? x : span.first, x};
                break;
            }
        }
    }
    return span;
}

int Lightness(QColor c)
{
    return c.red() + c.green() + c.blue();
}

QColor Extreme(const QImage& image, bool darkest)
{
    QColor found = image.pixelColor(0, 0);
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (darkest ? Lightness(c) < Lightness(found) : Lightness(c) > Lightness(found))
                found = c;
        }
    }
    return found;
}

QColor Darkest(const QImage& image)
{
    return Extreme(image, true);
}
QColor Lightest(const QImage& image)
{
    return Extreme(image, false);
}

// Within the blending of anti-aliased glyph edges.
bool Near(QColor actual, QColor expected)
{
    constexpr int tolerance = 16;
    return qAbs(actual.red() - expected.red()) <= tolerance &&
           qAbs(actual.green() - expected.green()) <= tolerance &&
           qAbs(actual.blue() - expected.blue()) <= tolerance;
}

int Width(std::pair<int, int> span)
{
    return span.second - span.first + 1;
}

TEST_F(Painting, ShortRecordPaintsEveryColumnInItsOwnColour)
{
    combo.Items().Add("a,b,c");
    const QImage row = Row(0, false);
    int left = 0;
    for (const ColumnSpec& spec : PresetColumns) {
        EXPECT_EQ(At(row, left + spec.width - 1), spec.color) << "right edge of the cell at " << left;
        EXPECT_EQ(At(row, left, 0), spec.color) << "left edge of the cell at " << left;
        left += spec.width;
    }
    EXPECT_EQ(At(row, 219), White);
    EXPECT_EQ(At(row, 220), Grey);
}

TEST_F(Painting, TextIsDrawnInTheColumnsFontColourOnlyInsideItsCell)
{
    combo.Items().Add(QString(60, u'H') + ",HH");
    const QImage row = Row(0, false);
    const auto firstInk = InkSpan(row.copy(0, 0, 220, RowHeight), White);
    EXPECT_GE(firstInk.first, 1) << "text starts after the indent";
    EXPECT_LE(firstInk.first, 3);
    EXPECT_GE(firstInk.second, 215) << "long text runs to the cell's edge";
    EXPECT_GE(InkSpan(row.copy(220, 0, 60, RowHeight), Grey).first, 1) << "and no further";
    // Anti-aliased text blends from its own colour towards the background.
    EXPECT_TRUE(Near(Darkest(row.copy(0, 0, 220, RowHeight)), TextGrey));
}

TEST_F(Painting, SelectedRowUsesTheSelectionColoursUpToItsRightEdge)
{
    combo.Items().Add("HH,HH,HH");
    const QImage row = Row(0, true, 760);
    int left = 0;
    for (const ColumnSpec& spec : PresetColumns) {
        EXPECT_EQ(At(row, left + spec.width - 1), ColorOf(SystemColor::Highlight)) << left;
        left += spec.width;
    }
    EXPECT_EQ(At(row, 759), ColorOf(SystemColor::Highlight)) << "space after the last column";
    EXPECT_TRUE(Near(Lightest(row.copy(0, 0, 60, RowHeight)), ColorOf(SystemColor::HighlightText)));
}

TEST_F(Painting, SpaceAfterTheLastColumnTakesTheLastColumnsColour)
{
    combo.Items().Add("a");
    EXPECT_EQ(At(Row(0, false, 760), 740), Audio);

    combo.Columns().Clear();
    combo.SetColor(QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(At(Row(0, false, 100), 50), QColor(0x12, 0x34, 0x56)) << "no columns: the combo's colour";
}

TEST_F(Painting, AlignmentPlacesTextAnIndentFromItsEdge)
{
    combo.SetIndent(10);
    const auto left = InkSpan(Cell("ab", taLeftJustify), White);
    const auto right = InkSpan(Cell("ab", taRightJustify), White);
    const auto centre = InkSpan(Cell("ab", taCenter), White);
    EXPECT_GE(left.first, 10);
    EXPECT_LE(left.first, 12);
    EXPECT_LE(right.second, 49);
    EXPECT_GE(right.second, 47);
    // Centred in the cell less the left indent: half an indent right of the cell's centre.
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 35, 2);
}

TEST_F(Painting, AmpersandUnderlinesTheNextCharacterInTheList)
{
    const QImage plain = Cell("RB");
    const QImage marked = Cell("R&B");
    const QImage doubled = Cell("R&&B");
    EXPECT_EQ(Width(InkSpan(marked, White)), Width(InkSpan(plain, White))) << "the single & is not drawn";
    EXPECT_NE(marked, plain) << "B is underlined";
    EXPECT_GT(Width(InkSpan(doubled, White)), Width(InkSpan(plain, White))) << "&& draws one &";
}

TEST_F(Painting, ClosedFieldShowsFieldTargetColumnAsItIs)
{
    combo.SetFont({Fonts::Pixel(Fonts::UiGothic, 11), TextGrey});
    combo.Items().Add("RB,x");
    combo.Items().Add("R&B,x");
    EXPECT_EQ(InkSpan(Field(false), White), std::make_pair(-1, -1)) << "nothing selected: only the fill";

    combo.SetItemIndex(0);
    const auto plain = InkSpan(Field(false), White);
    EXPECT_GE(plain.first, 2) << "text starts 2 pixels into the field";
    EXPECT_LE(plain.first, 4);
    combo.SetItemIndex(1);
    EXPECT_GT(Width(InkSpan(Field(false), White)), Width(plain)) << "& is drawn as it is";

    combo.SetTargetColumn(1);
    EXPECT_LT(Width(InkSpan(Field(false), White)), Width(plain));
    EXPECT_EQ(At(Field(true), 200), ColorOf(SystemColor::Highlight));
}

TEST_F(Painting, ReadingFieldsRepaintsNothing)
{
    combo.Items().Add("a,b,c");
    combo.SetItemIndex(0);
    ASSERT_TRUE(ShowSettled(combo));

    PaintRecorder paints(combo);
    for (int column : {2, 3, 4, 0}) {
        combo.SetTargetColumn(column);
        combo.SelectedText();
    }
    EXPECT_TRUE(paints.Rects.empty());
    EXPECT_TRUE(NothingElseToPaint(combo));
}

// ---- sizes ----

TEST_F(Painting, RowsAndClosedBoxFollowItemHeight)
{
    combo.Items().Add("a");
    EXPECT_EQ(combo.height(), 19);
    EXPECT_EQ(combo.sizeHint().height(), 19);
    EXPECT_EQ(combo.view()->sizeHintForRow(0), RowHeight);
    EXPECT_EQ(combo.SelectionFieldRect().height(), RowHeight);
}

TEST_F(Painting, DropDownIsAsWideAsItsColumns)
{
    combo.resize(286, 19);
    combo.Items().Add(HeaderRow);
    combo.Items().Add("a,b");
    bool dropDownRaised = false;
    combo.OnDropDown = [&](QObject*) { dropDownRaised = !combo.view()->isVisible(); };
    combo.show();
    combo.showPopup();
    EXPECT_TRUE(dropDownRaised) << "raised before the list shows";
    EXPECT_EQ(combo.view()->window()->width(), 710);
    combo.hidePopup();

    TMultiColComboBox codecs;
    codecs.resize(132, 19);
    codecs.Columns()[0].SetWidth(112);
    codecs.Columns().Add().SetWidth(160);
    codecs.Items().Add("LIBX264");
    codecs.show();
    codecs.showPopup();
    EXPECT_EQ(codecs.view()->window()->width(), 272);
    codecs.hidePopup();

    codecs.Columns()[1].SetWidth(10);
    codecs.showPopup();
    EXPECT_EQ(codecs.view()->window()->width(), 132) << "never narrower than the closed box";
    codecs.hidePopup();
}

TEST_F(Painting, DropDownShowsUpToDropDownCountRowsBelowTheBox)
{
    constexpr int frame = 2;
    combo.SetDropDownCount(30);
    combo.resize(286, 19);
    combo.show();
    const auto listHeight = [&] {
        combo.showPopup();
        const QWidget* list = combo.view()->window();
        EXPECT_GE(list->y(), combo.mapToGlobal(QPoint(0, combo.height() - 1)).y()) << "below the box";
        const int height = list->height();
        combo.hidePopup();
        return height;
    };
    combo.Items().Add("a");
    combo.Items().Add("b");
    EXPECT_EQ(listHeight(), 2 * RowHeight + frame);
    for (int i = 0; i < 40; ++i)
        combo.Items().Add(QString::number(i));
    EXPECT_EQ(listHeight(), 30 * RowHeight + frame);
}

} // namespace
