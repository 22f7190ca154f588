#include "controls/DigitBar.h"
#include "platform/Errors.h"
#include "platform/SystemColors.h"
#include "tests/support/TextHeightFont.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace
{

constexpr TDigitBarModes AllButThousands =
    dbmAllowTimer | dbmArrowKeys | dbmArrowWrap | dbmEnterNext | dbmPosClick | dbmPosMove;
const QPoint OnUpButton(20, 5);

// A bar that counts the ticks of its repeat timer.
class TickingBar : public TDigitBar
{
public:
    int Ticks = 0;

protected:
    void TimerExpired() override
    {
        ++Ticks;
        TDigitBar::TimerExpired();
    }
};

// The intervals of the timers running for `object`, in ms: a repeat that has ended runs none.
QList<int> RunningTimers(QObject& object)
{
    QList<int> intervals;
    for (const QAbstractEventDispatcher::TimerInfo& timer :
         QAbstractEventDispatcher::instance()->registeredTimers(&object))
        intervals << timer.interval;
    return intervals;
}

// A bar shaped like the main window's: 40 x 160, buttons 16 high, text 12 high.
std::unique_ptr<TickingBar> MakeBar(int min, int max, int position, TDigitBarModes modes = AllButThousands)
{
    auto bar = std::make_unique<TickingBar>();
    bar->SetAutoSize(false);
    bar->SetBtnHeight(16);
    bar->resize(40, 160);
    bar->setFont(FontOfTextHeight(12));
    bar->SetColor(Qt::white);
    bar->SetMax(max);
    bar->SetMin(min);
    bar->SetPosition(position);
    bar->SetModes(modes);
    return bar;
}

QImage Painted(const TDigitBar& bar)
{
    QImage image(bar.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    bar.PaintTo(painter);
    return image;
}

// The first row of `area` with a pixel other than white; -1 when none.
int FirstInkRow(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) != Qt::white)
                return y;
    return -1;
}

void MoveWithLeftHeld(QWidget& widget, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, to, widget.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&widget, &move);
}

TEST(DigitBarSteps, StepsStayInRangeWrapOnlyFromTheEndsAndPageAndEndKeysGoFar)
{
    const struct {
        const char* name;
        int increment, start;
        TDigitBarModes modes;
        Qt::Key key;
        int expected;
    } cases[] = {
        {"up from Max wraps to Min", 1, 30, AllButThousands, Qt::Key_Up, 1},
        {"down from Min wraps to Max", 1, 1, AllButThousands, Qt::Key_Down, 30},
        {"a step past Max lands on Max", 5, 28, AllButThousands, Qt::Key_Up, 30},
        {"a step past Min lands on Min", 5, 3, AllButThousands, Qt::Key_Down, 1},
        {"without wrap Max stays", 1, 30, AllButThousands & ~dbmArrowWrap, Qt::Key_Up, 30},
        {"an ordinary step", 5, 10, AllButThousands, Qt::Key_Down, 5},
        {"PageUp takes ten steps", 2, 3, AllButThousands, Qt::Key_PageUp, 23},
        {"PageDown stops at Min, never wraps", 2, 3, AllButThousands, Qt::Key_PageDown, 1},
        {"Home goes to Min", 1, 17, AllButThousands, Qt::Key_Home, 1},
        {"End goes to Max", 1, 17, AllButThousands, Qt::Key_End, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bar = MakeBar(1, 30, c.start, c.modes);
        bar->SetIncrement(c.increment);
        int changes = 0;
        int clicks = 0;
        QObject::connect(bar.get(), &TDigitBar::changed, [&] { ++changes; });
        QObject::connect(bar.get(), &TDigitBar::clicked, [&] { ++clicks; });
        QTest::keyClick(bar.get(), c.key);
        EXPECT_EQ(bar->Position(), c.expected);
        EXPECT_EQ(changes, c.expected == c.start ? 0 : 1);
        EXPECT_EQ(clicks, 1) << "clicked follows every step, also one that changed nothing";
    }
}

TEST(DigitBarSteps, DigitsTypedInARowGiveTheNumberTheyMake)
{
    auto bar = MakeBar(512, 5000, 2048);
    QTest::keyClicks(bar.get(), "4500");
    EXPECT_EQ(bar->Position(), 4500);
    QTest::keyClicks(bar.get(), "9"); // too much after a pause would be a new number; here, clamped
    EXPECT_EQ(bar->Position(), 5000);
}

TEST(DigitBarWriters, ValuesAreClampedInTheOrderTheyArrive)
{
    auto bar = MakeBar(512, 5000, 2048);
    int changes = 0;
    QObject::connect(bar.get(), &TDigitBar::changed, [&] { ++changes; });
    bar->SetPosition(0);
    bar->SetPosition(512);
    EXPECT_EQ(bar->Position(), 512);
    EXPECT_EQ(changes, 1);
    bar->SetPosition(9999);
    EXPECT_EQ(bar->Position(), 5000);
    bar->SetMax(600);
    EXPECT_EQ(bar->Position(), 600) << "a lower Max pulls the position down";
    EXPECT_EQ(changes, 3);
    bar->SetMax(0);
    EXPECT_EQ(bar->Max(), 512) << "Max never goes below Min";
    bar->SetMin(9000);
    EXPECT_EQ(bar->Min(), 512) << "Min never goes above Max";

    TDigitBar fresh;
    fresh.SetMax(-5);
    fresh.SetMin(-10);
    EXPECT_EQ(fresh.Max(), 0) << "Max arrives first and is raised to the Min it finds";
    EXPECT_EQ(fresh.Min(), -10);
    fresh.SetBevelWidth(0);
    fresh.SetSpacing(-3);
    EXPECT_EQ(fresh.BevelWidth(), 1);
    EXPECT_EQ(fresh.Spacing(), 0);
}

TEST(DigitBarPointer, PressAndDragInTheBarChooseTheValueAtTheirHeight)
{
    const struct {
        const char* name;
        int min, max, y, expected;
    } cases[] = {
        {"in proportion", 512, 5000, 80, 2756},
        {"at the top margin", 512, 5000, 25, 5000},
        {"on the bar's top edge", 512, 5000, 16, 5000},
        {"at the bottom margin", 512, 5000, 135, 512},
        {"a half rounds up", 0, 11, 130, 1},
        {"a negative half rounds down", -11, 0, 130, -11},
        {"an empty range", 7, 7, 40, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto bar = MakeBar(c.min, c.max, (c.min + c.max) / 2);
        QTest::mouseClick(bar.get(), Qt::LeftButton, {}, QPoint(20, c.y));
        EXPECT_EQ(bar->Position(), c.expected);
    }

    // A drag follows the pointer inside the bar and leaves the value where it was outside.
    auto bar = MakeBar(512, 5000, 2048);
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, QPoint(20, 100));
    MoveWithLeftHeld(*bar, QPoint(20, 80));
    MoveWithLeftHeld(*bar, OnUpButton);
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, OnUpButton);
    EXPECT_EQ(bar->Position(), 2756);
}

TEST(DigitBarRepeat, HeldButtonStepsAtThePressAfter400MsThenEvery100Ms)
{
    auto bar = MakeBar(0, 1000, 0);
    std::vector<qint64> steps;
    QElapsedTimer clock;
    QObject::connect(bar.get(), &TDigitBar::changed, [&] { steps.push_back(clock.elapsed()); });
    clock.start();
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, OnUpButton);
    ASSERT_EQ(steps.size(), 1u) << "the press itself steps";
    EXPECT_EQ(RunningTimers(*bar), QList<int>{400});
    ASSERT_TRUE(QTest::qWaitFor([&] { return steps.size() >= 4; }, 30000));
    EXPECT_EQ(RunningTimers(*bar), QList<int>{100}) << "no second 400 ms wait";
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, OnUpButton);
    EXPECT_EQ(RunningTimers(*bar), QList<int>()) << "the release ends the repeat";

    // A busy machine makes a step late, never early.
    EXPECT_GE(steps[1] - steps[0], 395);
    for (size_t i = 2; i < 4; ++i)
        EXPECT_GE(steps[i] - steps[i - 1], 95);
}

TEST(DigitBarRepeat, DraggingOutEndsTheRepeat)
{
    auto bar = MakeBar(0, 1000, 0);
    int steps = 0;
    QObject::connect(bar.get(), &TDigitBar::changed, [&] { ++steps; });
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, OnUpButton);
    MoveWithLeftHeld(*bar, QPoint(20, -30));
    EXPECT_EQ(RunningTimers(*bar), QList<int>()) << "the repeat has ended";
    EXPECT_EQ(steps, 1);
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, OnUpButton);
}

// A bar between two edits, in an active window.
class DigitBarInWindow : public ::testing::Test
{
protected:
    DigitBarInWindow()
    {
        bar->setParent(&window);
        after->setParent(&window); // after the bar in the focus order
        bar->move(0, 30);
        after->move(0, 200);
        window.show();
        window.activateWindow();
    }
    void SetUp() override { ASSERT_TRUE(QTest::qWaitForWindowActive(&window)); }

    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    TickingBar* bar = MakeBar(512, 5000, 2048).release();
    QLineEdit* after = new QLineEdit;
};

TEST_F(DigitBarInWindow, RightButtonNeitherStepsNorTakesTheFocus)
{
    before->setFocus();
    QTest::mousePress(bar, Qt::RightButton, {}, OnUpButton);
    // Past the first tick of the repeat, when the press started one.
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->Ticks > 0 || RunningTimers(*bar).isEmpty(); }, 30000));
    QTest::mouseRelease(bar, Qt::RightButton, {}, OnUpButton);
    EXPECT_EQ(bar->Position(), 2048);
    EXPECT_TRUE(before->hasFocus());
}

TEST_F(DigitBarInWindow, ArrowsAndEnterMoveTheFocusOnceTheKeyIsHandled)
{
    const struct {
        const char* name;
        Qt::Key key;
        TDigitBarModes modes;
        QWidget* expected;
    } cases[] = {
        {"Right goes to the next control", Qt::Key_Right, AllButThousands, after},
        {"Left goes to the previous control", Qt::Key_Left, AllButThousands, before},
        {"Enter goes to the next control", Qt::Key_Return, AllButThousands, after},
        {"Enter stays without dbmEnterNext", Qt::Key_Return, AllButThousands & ~dbmEnterNext, bar},
        {"Up moves back without dbmArrowKeys", Qt::Key_Up, AllButThousands & ~dbmArrowKeys, before},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bar->SetModes(c.modes);
        bar->setFocus();
        QTest::keyClick(bar, c.key);
        EXPECT_TRUE(bar->hasFocus()) << "the move waits for the key's own handling";
        QCoreApplication::processEvents(); // delivers the deferred move, also where none may come
        EXPECT_TRUE(QTest::qWaitFor([&] { return c.expected->hasFocus(); }, 30000));
        EXPECT_EQ(bar->Position(), 2048);
    }
}

const QColor ButtonFace = ColorOf(SystemColor::ButtonFace);
const QColor Shadow = ColorOf(SystemColor::ButtonShadow);
const QColor Highlight = ColorOf(SystemColor::ButtonHighlight);
const QColor DeepShadow(0x20, 0x20, 0x20);    // the shadow 128 darker
const QColor DeepHighlight(0x7F, 0x7F, 0x7F); // the highlight 128 darker

TEST_F(DigitBarInWindow, ValueBoxTakesTheFocusColourWhileFocused)
{
    const QPoint inside(20, 90);
    bar->SetFocusColor(QColor(0xFF, 0xC4, 0xFF));
    bar->setFocus();
    EXPECT_EQ(Painted(*bar).pixelColor(inside), bar->FocusColor());
    before->setFocus();
    EXPECT_EQ(Painted(*bar).pixelColor(inside), bar->Color());
}

TEST(DigitBarPaint, ValueBoxSitsAtItsValueWithTheTextInside)
{
    auto bar = MakeBar(512, 5000, 2048);
    const QImage image = Painted(*bar);
    const std::pair<int, QColor> column[] = {{87, ButtonFace}, {88, Shadow},     {89, DeepShadow},
                                             {90, Qt::white},  {103, Qt::white}, {104, DeepHighlight},
                                             {105, Highlight}, {106, ButtonFace}};
    for (const auto& [y, colour] : column)
        EXPECT_EQ(image.pixelColor(20, y), colour) << "row " << y;
    const std::pair<int, QColor> row[] = {{0, Shadow},     {1, DeepShadow},     {2, Qt::white},
                                          {37, Qt::white}, {38, DeepHighlight}, {39, Highlight}};
    for (const auto& [x, colour] : row)
        EXPECT_EQ(image.pixelColor(x, 90), colour) << "column " << x;

    // The text's top is one pixel into the box's inside: its ink starts where it would below 91.
    QImage reference(100, 40, QImage::Format_RGB32);
    reference.fill(Qt::white);
    QPainter painter(&reference);
    painter.setFont(bar->font());
    painter.drawText(0, QFontMetrics(bar->font()).ascent(), QStringLiteral("2048"));
    EXPECT_EQ(FirstInkRow(image, QRect(2, 90, 36, 14)), 91 + FirstInkRow(reference, reference.rect()));
}

TEST(DigitBarPaint, ArrowsTurnWhiteWhenDisabledAndButtonsSinkWhileHeld)
{
    auto bar = MakeBar(1, 30, 10);
    const QImage enabled = Painted(*bar);
    bar->setEnabled(false);
    const QImage disabled = Painted(*bar);
    int arrowPixels = 0;
    for (int y = 0; y < enabled.height(); ++y) {
        for (int x = 0; x < enabled.width(); ++x) {
            if (enabled.pixelColor(x, y) == disabled.pixelColor(x, y))
                continue;
            ++arrowPixels;
            EXPECT_EQ(enabled.pixelColor(x, y), QColor(Qt::black));
            EXPECT_EQ(disabled.pixelColor(x, y), QColor(Qt::white));
        }
    }
    EXPECT_EQ(arrowPixels, 2 * (1 + 3 + 5 + 7));

    bar->setEnabled(true);
    // The up button's outer corners: raised shows light top left and a deep bottom right edge.
    const auto corners = [](const QImage& image) {
        return std::pair{image.pixelColor(0, 0), image.pixelColor(39, 15)};
    };
    EXPECT_EQ(corners(enabled), std::pair(Highlight, DeepShadow));
    QTest::keyPress(bar.get(), Qt::Key_Up);
    EXPECT_EQ(corners(Painted(*bar)), std::pair(Shadow, Highlight));
    QTest::keyRelease(bar.get(), Qt::Key_Up);
    EXPECT_EQ(corners(Painted(*bar)), std::pair(Highlight, DeepShadow));
}

TEST(DigitBarSize, AutoSizeFitsTheLongestValueTextAndOnlyGrowsInHeight)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TDigitBar bar;
    bar.show(); // a hidden widget hears of its resizing only when shown
    bar.SetMax(5000);
    bar.SetPosition(5000);
    const QFontMetrics metrics(bar.font());
    const int plainWidth = bar.width() - metrics.horizontalAdvance("5000");
    bar.SetModes(bar.Modes() | dbmThousands);
    EXPECT_EQ(bar.PositionToStr(ptsPosition), "5,000");
    EXPECT_EQ(bar.width(), plainWidth + metrics.horizontalAdvance("5,000"));
    bar.SetMin(-10000);
    EXPECT_EQ(bar.PositionToStr(ptsMaxStr), "-10,000");
    EXPECT_EQ(bar.width(), plainWidth + metrics.horizontalAdvance("-10,000"));

    bar.resize(bar.width(), 1);
    EXPECT_GT(bar.height(), 1) << "never lower than buttons and box";
    bar.resize(bar.width(), 500);
    EXPECT_EQ(bar.height(), 500);
    QLocale::setDefault(previous);
}

} // namespace
