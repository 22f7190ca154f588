#include "platform/CheckBoxStyle.h"

#include <QApplication>
#include <QCheckBox>
#include <QProxyStyle>
#include <QStyleFactory>
#include <algorithm>

namespace
{

class FittedIndicatorStyle : public QProxyStyle
{
public:
    explicit FittedIndicatorStyle(QCheckBox& box)
        : QProxyStyle(QStyleFactory::create(QApplication::style()->name())), m_box(box)
    {
        setParent(&box);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
            return std::min(base, m_box.height());
        return base;
    }

private:
    const QCheckBox& m_box;
};

} // namespace

void FitCheckIndicator(QCheckBox& box)
{
    box.setStyle(new FittedIndicatorStyle(box));
}
