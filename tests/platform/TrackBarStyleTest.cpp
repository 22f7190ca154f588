#include "platform/TrackBarStyle.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

// A slider that shows how it describes itself to its style.
struct Slider : QSlider {
    using QSlider::initStyleOption;
    using QSlider::QSlider;

    // Where the thumb is for `value`, as the slider finds it when it hit-tests.
    QRect Thumb(int value) const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.sliderPosition = option.sliderValue = value;
        return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    }
};

TEST(TrackBarStyle, ThumbIsAsWideAsAskedAndDrawnWhereItIsGrabbed)
{
    Slider bar(Qt::Vertical);
    bar.setRange(0, 4);
    bar.setTickPosition(QSlider::TicksLeft);
    bar.resize(40, 160);
    SetThumbLength(bar, 30);
    EXPECT_EQ(bar.Thumb(0).width(), 30);

    // Beside the groove, the pictures at the two ends differ exactly on the thumbs' rectangles.
    bar.setValue(0);
    const QImage atOne = bar.grab().toImage();
    bar.setValue(4);
    const QImage atOther = bar.grab().toImage();
    for (const QRect& thumb : {bar.Thumb(0), bar.Thumb(4)}) {
        const int x = thumb.left() + 2;
        for (const int y : {thumb.top() - 1, thumb.center().y(), thumb.bottom() + 1})
            EXPECT_EQ(atOne.pixelColor(x, y) == atOther.pixelColor(x, y), y != thumb.center().y()) << y;
    }

    bar.show();
    bar.setValue(0);
    const QPoint target = bar.Thumb(3).center();
    QTest::mousePress(&bar, Qt::LeftButton, {}, bar.Thumb(0).center());
    QMouseEvent drag(QEvent::MouseMove, target, bar.mapToGlobal(target), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&bar, &drag);
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, target);
    EXPECT_EQ(bar.value(), 3);
}

} // namespace
