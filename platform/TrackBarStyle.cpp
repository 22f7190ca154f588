#include "platform/TrackBarStyle.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QSlider>
#include <QStyleFactory>
#include <QStyleOptionSlider>

namespace
{

// The application's style, drawing a slider inside its channel: the slider's rectangle less the
// clear ends. Rectangles asked for from outside are given in the slider's own coordinates.
class TrackBarStyle : public QProxyStyle
{
public:
    TrackBarStyle(QObject* owner, int length)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), m_across(length),
          m_along((length / 2) | 1)
    {
        setParent(owner);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
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
