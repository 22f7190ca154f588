#include "controls/NewHint.h"
#include "platform/Fonts.h"

#include <QElapsedTimer>
#include <QHelpEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

namespace
{

const QColor Fill(0xD8, 0xD8, 0xAE);
const QColor Shadow(0x80, 0x80, 0x80);
const QColor Backdrop(0x12, 0x34, 0x56);
const QPoint Pointer(200, 200);

// The program's look: a rounded box, white bold text, grey shadow.
void dressAsProgram(TAppHint& hint)
{
    hint.SetBrush(Fill);
    hint.SetFont(Fonts::Pixel(Fonts::UiGothic, 16, true));
    hint.SetFontColor(Qt::white);
    hint.SetShadowColor(Shadow);
    hint.SetHintStyle(hsRoundRect);
}

// A control carrying `text` as its hint, shown by the machinery as if the pointer rested at Pointer.
HintWindow& showHint(QWidget& control, const QString& text)
{
    control.setToolTip(text);
    Hints().ActivateHintFor(&control, Pointer);
    return *Hints().Window();
}

// How many pixels of `colour` an image holds, and the first row holding one.
struct Ink {
    int count = 0;
    int top = -1;
};

Ink inkOf(const QImage& image, QColor colour)
{
    Ink ink;
    for (int y = image.height() - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) {
                ++ink.count;
                ink.top = y;
            }
    return ink;
}

TEST(HintGeometry, EachStyleChangesRectangleShapeAndOutlineItsOwnWay)
{
    const QRect rect(100, 200, 60, 15);
    const int w = rect.width(), h = rect.height();

    const THintGeometry balloon = HintGeometry(hsFukidashi, rect);
    EXPECT_EQ(balloon.Rect, rect.adjusted(0, 0, 0, 9));
    EXPECT_FALSE(balloon.SavesRect);
    const int bh = h + 9;
    EXPECT_EQ(
        balloon.Outline,
        QPolygon({{14, 0}, {9, 9}, {0, 9}, {0, bh - 1}, {w - 1, bh - 1}, {w - 1, 9}, {13, 9}, {13, 0}}));
    EXPECT_EQ(balloon.Shape.boundingRect().bottomRight(), QPoint(w - 1, bh - 1));
    EXPECT_TRUE(balloon.Shape.contains(QPoint(12, 4)));  // the tail
    EXPECT_FALSE(balloon.Shape.contains(QPoint(3, 4)));  // beside the tail
    EXPECT_FALSE(balloon.Shape.contains(QPoint(30, 4))); // beyond the tail
    EXPECT_TRUE(balloon.Shape.contains(QPoint(0, 9)));

    const THintGeometry line = HintGeometry(hsLineString, rect);
    EXPECT_EQ(line.Rect, rect.adjusted(0, 0, 21, 12));
    EXPECT_TRUE(line.SavesRect);
    EXPECT_EQ(line.Shape, QRegion(1, 1, w + 21 - 2, h + 12 - 2));

    const THintGeometry owner = HintGeometry(hsOwnerDraw, rect);
    EXPECT_EQ(owner.Rect, rect);
    EXPECT_TRUE(owner.Shape.isEmpty());
}

TEST(HintGeometry, RoundRectHintIsTextExtentPlusSixByTwoWithRoundedCorners)
{
    TAppHint hint(nullptr);
    dressAsProgram(hint);
    QWidget control;
    const QString text = QStringLiteral(" 保存先のﾌｫﾙﾀﾞ");
    const QSize extent = QFontMetrics(hint.Font()).size(0, text);

    const HintWindow& window = showHint(control, text);
    EXPECT_EQ(window.size(), extent + QSize(6, 6));
    const QRegion shape = window.mask();
    EXPECT_EQ(shape.boundingRect(), QRect(QPoint(0, 0), extent + QSize(6, 2)));
    const int right = extent.width() + 5, bottom = extent.height() + 1;
    for (QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        EXPECT_FALSE(shape.contains(corner)) << corner.x() << "," << corner.y();
    for (QPoint edge : {QPoint(right / 2, 0), QPoint(0, bottom / 2), QPoint(right, bottom / 2)})
        EXPECT_TRUE(shape.contains(edge)) << edge.x() << "," << edge.y();
}

struct PaintCase {
    const char* name;
    THintStyle style;
    bool shadowVisible;
    QString text;
    QPoint onOutline; // a pixel the outline (or the leader line) passes
    int textTop;      // no text above this row
};

class HintPainting : public ::testing::TestWithParam<PaintCase>
{
};

TEST_P(HintPainting, DrawsFillOutlineTextAndShadowAsItsStyleSays)
{
    const PaintCase& c = GetParam();
    TAppHint hint(nullptr);
    dressAsProgram(hint);
    hint.SetHintStyle(c.style);
    hint.SetShadowVisible(c.shadowVisible);
    const THintGeometry geometry = HintGeometry(c.style, QRect(0, 0, 40, 20));
    QImage image(geometry.Rect.size() + QSize(0, 4), QImage::Format_RGB32);
    image.fill(Backdrop);
    QPainter painter(&image);
    hint.PaintHint(painter, c.text, image.size(), geometry.Rect, geometry.Outline);
    painter.end();

    const Ink text = inkOf(image, Qt::white);
    EXPECT_GT(text.count, 0) << "the text, \"&\" included, is drawn";
    EXPECT_GE(text.top, c.textTop);
    EXPECT_EQ(inkOf(image, Shadow).count > 0, c.shadowVisible);
    EXPECT_EQ(image.pixelColor(c.onOutline), QColor(Qt::black));
    const QColor background = c.style == hsLineString ? Backdrop : Fill;
    EXPECT_EQ(image.pixelColor(0, 0), background) << "filled, outside the outline";
    EXPECT_EQ(image.pixelColor(image.width() - 1, 0), background);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, HintPainting,
    ::testing::Values(PaintCase{"RoundRect", hsRoundRect, true, QStringLiteral("W"), {20, 0}, 1},
                      PaintCase{"NoShadow", hsRoundRect, false, QStringLiteral("W"), {39, 10}, 1},
                      PaintCase{"Ampersand", hsRoundRect, false, QStringLiteral("&"), {20, 19}, 1},
                      PaintCase{"Balloon", hsFukidashi, true, QStringLiteral("W"), {20, 9}, 9},
                      PaintCase{"BalloonTail", hsFukidashi, false, QStringLiteral("W"), {14, 0}, 9},
                      PaintCase{"Underline", hsLineString, true, QStringLiteral("W"), {60, 30}, 10},
                      PaintCase{"Leader", hsLineString, false, QStringLiteral("W"), {1, 1}, 11}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AppHint, PausesAreTheApplicationsOwnBothWays)
{
    TAppHint hint(nullptr);
    hint.SetHintPause(11);
    hint.SetHintHidePause(22);
    hint.SetHintShortPause(33);
    EXPECT_EQ(QList<int>({Hints().HintPause(), Hints().HintHidePause(), Hints().HintShortPause()}),
              QList<int>({11, 22, 33}));
    Hints().SetHintPause(44);
    Hints().SetHintHidePause(55);
    Hints().SetHintShortPause(66);
    EXPECT_EQ(QList<int>({hint.HintPause(), hint.HintHidePause(), hint.HintShortPause()}),
              QList<int>({44, 55, 66}));
}

TEST(AppHint, RecreatesTheHintWindowOnlyWhenStyleOrFontDiffers)
{
    TAppHint hint(nullptr);
    dressAsProgram(hint);
    QPointer<HintWindow> window = Hints().Window();
    hint.SetHintStyle(hsRoundRect);
    hint.SetFont(hint.Font());
    hint.SetFontColor(hint.FontColor());
    EXPECT_EQ(window.data(), Hints().Window());

    hint.SetHintStyle(hsFukidashi);
    EXPECT_TRUE(window.isNull());
    window = Hints().Window();
    const QFont bigger = Fonts::Pixel(Fonts::UiGothic, 20, true);
    hint.SetFont(bigger);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(Hints().Window()->font(), bigger) << "the new window measures with the new font";
}

TEST(AppHint, LiftsTheHintEightPixelsAndUnbindsWhenDestroyed)
{
    QWidget control;
    const QPoint plain = showHint(control, QStringLiteral("hint")).pos();
    {
        TAppHint hint(nullptr);
        EXPECT_EQ(TAppHint::Registered(), &hint);
        EXPECT_EQ(showHint(control, QStringLiteral("hint")).pos(), plain - QPoint(0, 8));
    }
    EXPECT_EQ(TAppHint::Registered(), nullptr);
    EXPECT_FALSE(Hints().OnShowHint);
    EXPECT_FALSE(Hints().OnHint);
    const HintWindow& window = showHint(control, QStringLiteral("hint"));
    EXPECT_EQ(window.pos(), plain);
    EXPECT_TRUE(window.mask().isEmpty());
}

// When a window shows and hides, in ms on a clock started with the recorder.
class ShowsAndHides : public QObject
{
public:
    explicit ShowsAndHides(QWidget& window)
    {
        window.installEventFilter(this);
        m_clock.start();
    }
    QList<qint64> Shows;
    QList<qint64> Hides;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            Shows << m_clock.elapsed();
        if (event->type() == QEvent::Hide)
            Hides << m_clock.elapsed();
        return false;
    }

private:
    QElapsedTimer m_clock;
};

// The pointer resting on a control: the hint waits its pause, shows, and goes after the hide pause.
TEST(HintMachinery, ShowsAfterThePauseAndHidesAfterTheHidePause)
{
    constexpr int Pause = 300;
    constexpr int HidePause = 600;
    TAppHint hint(nullptr);
    dressAsProgram(hint);
    hint.SetHintPause(Pause);
    hint.SetHintHidePause(HidePause);
    QWidget window;
    QWidget control(&window);
    control.setGeometry(10, 10, 50, 50);
    control.setToolTip(QStringLiteral("hint"));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    ShowsAndHides seen(*Hints().Window());
    QMouseEvent rest(QEvent::MouseMove, QPointF(20, 20), control.mapToGlobal(QPointF(20, 20)), Qt::NoButton,
                     Qt::NoButton, {});
    QApplication::sendEvent(&control, &rest);
    QHelpEvent qtsOwn(QEvent::ToolTip, QPoint(20, 20), control.mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(&control, &qtsOwn);
    EXPECT_FALSE(QToolTip::isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !seen.Shows.isEmpty(); }, 30000));
    EXPECT_EQ(Hints().Window()->Text(), "hint");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !seen.Hides.isEmpty(); }, 30000));
    // A busy machine makes a pause longer, never shorter than the 5 % a coarse timer may end early.
    EXPECT_GE(seen.Shows.first(), Pause * 95 / 100) << "shown before the pause ended";
    EXPECT_GE(seen.Hides.first() - seen.Shows.first(), HidePause * 95 / 100) << "hidden too early";

    QApplication::sendEvent(&control, &rest); // the same stay: no second showing
    // Timers fire in the order they are due: once one twice the pause long, started after the
    // move, has fired, a pause the move could have started has run out too.
    QTimer past;
    past.setSingleShot(true);
    past.setTimerType(Qt::PreciseTimer);
    QSignalSpy fired(&past, &QTimer::timeout);
    past.start(2 * Pause);
    ASSERT_TRUE(fired.wait(60000));
    EXPECT_EQ(seen.Shows.size(), 1);
}

} // namespace
