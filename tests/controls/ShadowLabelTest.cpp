#include "controls/ShadoLbl.h"
#include "platform/Fonts.h"
#include "platform/SystemColors.h"
#include "tests/support/Printers.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <set>

namespace
{

const QColor First(10, 20, 30);
const QColor Mid(110, 120, 130);
const QColor Last(211, 221, 231);
const QColor HalfwayMidToLast(160, 170, 180);
const QColor HalfwayFirstToLast(110, 120, 130);

TEST(Ramp, ColoursWholeCharacters)
{
    using Runs = std::vector<std::pair<QString, QColor>>;
    const std::tuple<const char*, QString, TTextGradation, Runs> cases[] = {
        {"five characters",
         "abcde",
         tg3Colors,
         {{"a", First}, {"b", Mid}, {"c", Mid}, {"d", HalfwayMidToLast}, {"e", Last}}},
        {"three characters", "abc", tg3Colors, {{"a", First}, {"b", Mid}, {"c", Last}}},
        {"three two-byte characters", "äöü", tg3Colors, {{"ä", First}, {"ö", Mid}, {"ü", Last}}},
        {"split after a whole three-byte character",
         "aあb",
         tg3Colors,
         {{"a", First}, {"あ", Mid}, {"b", Last}}},
        {"two characters take two colours", "ab", tg3Colors, {{"a", First}, {"b", Last}}},
        {"two colours over three", "abc", tg2Colors, {{"a", First}, {"b", HalfwayFirstToLast}, {"c", Last}}},
        {"one character is drawn plainly", "ä", tg3Colors, {}},
    };
    for (const auto& [name, text, gradation, expected] : cases) {
        Runs runs;
        for (const RampPiece& piece : TextRamp(text, gradation, First, Mid, Last))
            runs.emplace_back(piece.Text, piece.Color);
        EXPECT_EQ(runs, expected) << name;
    }
}

TEST(Gradient, RunsFromStartToEndOnABitmapOrAStretchedStrip)
{
    const QColor start(250, 0, 100);
    const QColor end(0, 255, 101);
    for (bool vertical : {true, false}) {
        QImage bitmap(vertical ? QSize(30, 45) : QSize(45, 30), QImage::Format_RGB32);
        GradBitmap(bitmap, start, end, vertical);
        const QPoint along = vertical ? QPoint(0, 1) : QPoint(1, 0);
        const QPoint across = vertical ? QPoint(1, 0) : QPoint(0, 1);
        EXPECT_EQ(bitmap.pixelColor(0, 0), start);
        EXPECT_EQ(bitmap.pixelColor(along * 22), QColor(125, 127, 100)); // halfway, truncated
        EXPECT_EQ(bitmap.pixelColor(along * 22 + across * 29), QColor(125, 127, 100));
        EXPECT_EQ(bitmap.pixelColor(along * 44), end);

        QImage painted(50, 50, QImage::Format_RGB32);
        painted.fill(Qt::black);
        QPainter painter(&painted);
        GradRect(painter, QRect(QPoint(5, 3), bitmap.size()), start, end, vertical);
        painter.end();
        EXPECT_EQ(painted.copy(QRect(QPoint(5, 3), bitmap.size())), bitmap);

        QImage single(1, 1, QImage::Format_RGB32);
        GradBitmap(single, start, end, vertical);
        EXPECT_EQ(single.pixelColor(0, 0), start) << "a single row or column shows the start";
    }
}

// ---- the label ----

class Label : public ::testing::Test
{
protected:
    Label() : label(nullptr, QStringLiteral("H"), QPoint(0, 0))
    {
        QFont font = Fonts::Pixel(Fonts::Tahoma, 16, true);
        font.setStyleStrategy(QFont::NoAntialias);
        label.setFont(font);
        label.resize(120, 24);
        label.SetTransparent(true);
        label.SetFontColor(First);
        label.Shadow()->SetShadowColor(Mid);
    }

    QImage Painted() const
    {
        QImage image(label.size(), QImage::Format_RGB32);
        image.fill(Background);
        QPainter painter(&image);
        label.Paint(painter);
        return image;
    }

    static std::set<QRgb> ColoursIn(const QImage& image, QRect area)
    {
        std::set<QRgb> colours;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                colours.insert(image.pixel(x, y));
        return colours;
    }

    // The smallest rectangle holding every pixel of `color`.
    static QRect Extent(const QImage& image, QColor color)
    {
        QRect extent;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == color)
                    extent |= QRect(x, y, 1, 1);
        return extent;
    }

    const QColor Background{Qt::darkGreen};
    TShadowLabel label;
};

TEST_F(Label, DrawsTheTextOverItsOffsetCopies)
{
    const QImage image = Painted();
    const QRect text = Extent(image, First);
    const QRect shadow = Extent(image, Mid);
    const QRect highlight = Extent(image, Qt::white);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(shadow.bottomRight(), text.bottomRight() + QPoint(1, 1));
    EXPECT_EQ(highlight.topLeft(), text.topLeft() - QPoint(1, 1));
    EXPECT_EQ(ColoursIn(image, image.rect()),
              (std::set<QRgb>{Background.rgb(), First.rgb(), Mid.rgb(), 0xFFFFFFFF}));

    label.setEnabled(false);
    EXPECT_EQ(ColoursIn(Painted(), image.rect()),
              (std::set<QRgb>{Background.rgb(), ColorOf(SystemColor::ButtonShadow).rgb(),
                              QColor(0x80, 0x80, 0x80).rgb(), ColorOf(SystemColor::ButtonHighlight).rgb()}));
}

TEST_F(Label, RampStartsAtTheLeftEdgeAndKeepsItsColoursWhenDisabled)
{
    label.setText(QStringLiteral("HHHHH"));
    label.Highlight()->SetShadowVisible(false);
    label.Shadow()->SetShadowVisible(false);
    label.SetTextGradation(tg3Colors);
    label.SetTextMidColor(Mid);
    label.SetTextGradationColor(Last);
    const QColor expected[] = {First, Mid, Mid, HalfwayMidToLast, Last};
    const int advance = QFontMetrics(label.font()).horizontalAdvance(u'H');
    for (bool enabled : {true, false}) {
        for (Qt::Alignment alignment : {Qt::AlignLeft, Qt::AlignRight}) {
            label.setEnabled(enabled);
            label.setAlignment(alignment | Qt::AlignVCenter);
            const QImage image = Painted();
            for (int i = 0; i < 5; ++i)
                EXPECT_EQ(ColoursIn(image, QRect(i * advance, 0, advance, label.height())),
                          (std::set<QRgb>{Background.rgb(), expected[i].rgb()}))
                    << "character " << i << (enabled ? " enabled" : " disabled");
        }
    }
}

} // namespace
