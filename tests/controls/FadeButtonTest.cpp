#include "controls/FadeButton.h"
#include "controls/FadeStep.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace
{

// ---- the fade arithmetic ----

constexpr TColor Khaki = RGBColor(0xAC, 0xAC, 0x59);
constexpr TColor Olive = RGBColor(0xC0, 0xC0, 0x83);
constexpr TColor Grey = RGBColor(0x80, 0x80, 0x80);
constexpr TColor Black = RGBColor(0, 0, 0);

struct FadeCase {
    const char* name;
    TColor start;
    int delta;
    bool noStop;
    TColor low;
    TColor high;
    int ticks;
    TColor expected;
    int stopTick; // 0: the fade is still running after `ticks`
};

TEST(FadeArithmetic, ReachesItsColourAndStopsOnItsTick)
{
    const TColor between = RGBColor(0xB0, 0xB0, 0x60);
    const FadeCase cases[] = {
        {"brightening fill arrives after 21 ticks", Khaki, 2, false, Khaki, Olive, 30, Olive, 21},
        {"red and green arrive first", Khaki, 2, false, Khaki, Olive, 10, RGBColor(0xC0, 0xC0, 0x6D), 0},
        {"fading out returns after 21 ticks", Olive, -2, false, Khaki, Olive, 30, Khaki, 21},
        {"fill equal to its target stops on the first tick", Olive, 2, false, Olive, Olive, 5, Olive, 1},
        {"darkening outline turns black on the first tick", Grey, 2, true, Grey, Black, 1, Black, 0},
        {"darkening outline stays black fading out", Black, -2, true, Grey, Black, 5, Black, 0},
        {"step 0 between the bounds never stops", between, 0, false, Khaki, Olive, 100, between, 0},
        {"negative step from rest stops at once", Khaki, -2, false, Khaki, Olive, 5, Khaki, 1},
        {"negative step from the target heads for rest", Olive, -4, false, Khaki, Olive, 1,
         RGBColor(0xBC, 0xBC, 0x7F), 0},
    };
    for (const FadeCase& c : cases) {
        TColor color = c.start;
        int stoppedOn = 0;
        for (int tick = 1; tick <= c.ticks && stoppedOn == 0; ++tick) {
            const FadeResult result = FadeStep(color, c.delta, c.noStop, c.low, c.high);
            color = result.Color;
            stoppedOn = result.Stop ? tick : 0;
        }
        EXPECT_EQ(color, c.expected) << c.name;
        EXPECT_EQ(stoppedOn, c.stopTick) << c.name;
    }
}

// ---- the button ----

const QColor Rest(0x20, 0x30, 0x40);
const QColor Lit(0x40, 0x50, 0x60);
const QColor Outline(0x80, 0x80, 0x80);
const QColor Over(Qt::yellow);

// Counts its paints, to tell drawing at once from drawing later.
class CountingButton : public FadeButton
{
public:
    using FadeButton::FadeButton;
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++Paints;
        FadeButton::paintEvent(event);
    }
};

class Button : public ::testing::Test
{
protected:
    Button()
    {
        window.resize(200, 100);
        button = new CountingButton(&window, QString());
        button->setGeometry(10, 10, 40, 20);
        button->SetColor(Rest);
        button->SetDestColor(Lit);
        button->SetBorderColor(Outline);
        button->SetBorderDestColor(Qt::black);
        button->SetCaptionOverColor(Over);
        button->SetSpeed(5);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void Hover()
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                         Qt::NoButton, {});
        QApplication::sendEvent(button, &move);
    }

    void Leave()
    {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
    }

    QImage Face() const
    {
        QImage image(button->size(), QImage::Format_RGB32);
        QPainter painter(&image);
        button->Paint(painter);
        return image;
    }
    QColor Fill() const { return Face().pixelColor(button->width() / 2, button->height() / 2); }
    QColor Border() const { return Face().pixelColor(0, 0); }
    bool FillBecomes(QColor color) const
    {
        return QTest::qWaitFor([&] { return Fill() == color; }, 30000);
    }
    // A fade runs on the button's timer; with it stopped, the face stays as it is.
    bool Fading() const { return button->findChild<QTimer*>()->isActive(); }

    QWidget window;
    CountingButton* button;
};

TEST_F(Button, FadesInUnderThePointerAndOutAfterItLeaves)
{
    Hover();
    EXPECT_EQ(button->FontColor(), Over);
    ASSERT_TRUE(FillBecomes(Lit));
    EXPECT_EQ(Border(), QColor(Qt::black));

    Leave();
    EXPECT_EQ(button->FontColor(), QColor(Qt::white));
    ASSERT_TRUE(FillBecomes(Rest));
    // The darkening outline cannot find its way back: it stays black.
    EXPECT_EQ(Border(), QColor(Qt::black));
}

TEST_F(Button, WithoutFadingJumpsAtOnceBothWays)
{
    button->SetFadeOnOver(false);
    button->SetFadeOnLeave(false);
    Hover();
    EXPECT_EQ(Fill(), Lit);
    EXPECT_EQ(Border(), QColor(Qt::black));
    Leave();
    EXPECT_EQ(Fill(), Rest);
    EXPECT_EQ(Border(), Outline);
}

TEST_F(Button, DisabledTakesNoHoverNoClickButHandlesTheLeave)
{
    int clicks = 0;
    QObject::connect(button, &FadeButton::clicked, [&] { ++clicks; });
    button->SetEnabled(false);

    Hover();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(Fading());
    EXPECT_EQ(button->FontColor(), QColor(Qt::white));
    EXPECT_EQ(Fill(), Rest);
    EXPECT_EQ(clicks, 0);
    Leave();
    EXPECT_EQ(button->FontColor(), QColor(Qt::white)); // never hovered: the caption stays as it is
    // The fade-out the leave started ends before the next hover.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Fading(); }, 30000));

    // Hovered while enabled, then disabled: the leave still restores the caption and fades out.
    button->SetEnabled(true);
    Hover();
    ASSERT_TRUE(FillBecomes(Lit));
    button->SetEnabled(false);
    Leave();
    EXPECT_EQ(button->FontColor(), QColor(Qt::white));
    EXPECT_TRUE(FillBecomes(Rest));
}

TEST_F(Button, ClickIsPressAndReleaseOverTheButtonOrSpaceOrEnter)
{
    int clicks = 0;
    QObject::connect(button, &FadeButton::clicked, [&] { ++clicks; });
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(60, 5));
    EXPECT_EQ(clicks, 0) << "released away from the button";
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(clicks, 3);
}

TEST_F(Button, SettersThatChangeThePictureDrawAtOnce)
{
    const std::pair<std::function<void()>, bool> changes[] = {
        {[&] { button->SetColor(Rest); }, true}, // even unchanged
        {[&] { button->SetBorderColor(Outline); }, false},
        {[&] { button->SetCaption(QStringLiteral("OK")); }, true},
        {[&] { button->SetCaptionOverColor(Qt::red); }, false},
    };
    for (const auto& [change, paints] : changes) {
        const int before = button->Paints;
        change();
        EXPECT_EQ(button->Paints > before, paints);
    }
    button->hide();
    const int hidden = button->Paints;
    button->SetColor(Lit);
    EXPECT_EQ(button->Paints, hidden) << "a button off screen draws nothing";
}

TEST_F(Button, DrawsItsOutlineInsideAWideCaptionOverItAndTheFocusWithin)
{
    button->SetBorderHeight(3);
    EXPECT_EQ(Face().pixelColor(2, 2), Outline);
    EXPECT_EQ(Face().pixelColor(3, 3), Rest);
    button->SetCaption(QStringLiteral("WWWWWWWWWW"));
    EXPECT_NE(Face().pixelColor(0, button->height() / 2), Outline);

    // The keyboard's place: a dotted line of the caption's colour just inside the outline.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->clearFocus();
    const QImage unfocused = Face();
    button->setFocus(Qt::TabFocusReason);
    const QImage focused = Face();
    EXPECT_NE(focused, unfocused);
    EXPECT_EQ(focused.pixelColor(2, 2), Outline);
    EXPECT_EQ(focused.pixelColor(5, 4), QColor(Qt::white));
}

TEST_F(Button, DestroyedMidFadeTakesItsTimerWithIt)
{
    Hover();
    QPointer<QTimer> timer = button->findChild<QTimer*>();
    ASSERT_TRUE(timer && timer->isActive());
    delete button;
    EXPECT_TRUE(timer.isNull());
}

} // namespace
