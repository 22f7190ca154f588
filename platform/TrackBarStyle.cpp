#include "platform/TrackBarStyle.h"

#include "platform/StockControls.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QSlider>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <algorithm>

namespace
{

// The application's style, drawing a slider inside its channel: the slider's rectangle less the
// clear ends. Rectangles asked for from outside are given in the slider's own coordinates. A
// thumb length of 0 keeps the style's own proportions and channel.
class TrackBarStyle : public QProxyStyle
{
public:
    TrackBarStyle(QObject* owner, int length)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), m_across(length),
          m_along(length > 0 ? (length / 2) | 1 : 0)
    {
        setParent(owner);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (m_across == 0)
            return QProxyStyle::pixelMetric(metric, option, widget);
        if (metric == PM_SliderThickness || metric == PM_SliderControlThickness)
            return m_across;
        if (metric == PM_SliderLength)
            return m_along;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_Slider || !slider) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QStyleOptionSlider channel = inChannel(*slider);
        painter->save();
        painter->translate(channelOrigin(*slider));
        // The base style asks for the parts of the channel it was given, which are already ours.
        m_drawing = true;
        QProxyStyle::drawComplexControl(control, &channel, painter, widget);
        m_drawing = false;
        painter->restore();
        // The classic dotted frame: the style's own sign of the focus is lost in the filled groove.
        if (slider->state & State_HasFocus)
            DrawFocusFrame(*painter, focusFrame(*slider, widget),
                           slider->palette.color(QPalette::WindowText));
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override
    {
        const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_Slider || !slider || m_drawing)
            return QProxyStyle::subControlRect(control, option, part, widget);
        const QStyleOptionSlider channel = inChannel(*slider);
        return QProxyStyle::subControlRect(control, &channel, part, widget)
            .translated(channelOrigin(*slider));
    }

private:
    // Round the bar and its ticks; a horizontal bar's frame starts at its thumb, clear of captions
    // that may reach down into its top.
    QRect focusFrame(const QStyleOptionSlider& slider, const QWidget* widget) const
    {
        QRect frame = slider.rect;
        if (slider.orientation == Qt::Horizontal) {
            const QRect thumb = subControlRect(CC_Slider, &slider, SC_SliderHandle, widget);
            frame.setTop(std::max(frame.top(), thumb.top() - 1));
        }
        return frame;
    }

    int clearEnd() const { return m_along / 2; }

    QPoint channelOrigin(const QStyleOptionSlider& slider) const
    {
        const QPoint inset =
            slider.orientation == Qt::Vertical ? QPoint(0, clearEnd()) : QPoint(clearEnd(), 0);
        return slider.rect.topLeft() + inset;
    }

    QStyleOptionSlider inChannel(const QStyleOptionSlider& slider) const
    {
        QStyleOptionSlider channel(slider);
        const QSize lessEnds =
            slider.orientation == Qt::Vertical ? QSize(0, 2 * clearEnd()) : QSize(2 * clearEnd(), 0);
        channel.rect = QRect(QPoint(0, 0), slider.rect.size() - lessEnds);
        return channel;
    }

    int m_across;
    int m_along;
    mutable bool m_drawing = false;
};

} // namespace

void SetThumbLength(QSlider& bar, int length)
{
    bar.setStyle(new TrackBarStyle(&bar, length));
}

void ShowFocusFrame(QSlider& bar)
{
    bar.setStyle(new TrackBarStyle(&bar, 0));
}
