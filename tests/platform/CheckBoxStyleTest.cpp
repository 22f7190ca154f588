#include "platform/CheckBoxStyle.h"
#include "platform/Fonts.h"

#include <QCheckBox>
#include <QImage>
#include <QStyleOptionButton>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{

constexpr QRgb Background = 0xff00ff00;

// The pixels down the middle of the check indicator of `box` drawn at `scale` on the background.
QList<QRgb> indicatorColumn(QCheckBox& box, qreal scale)
{
    QImage image(box.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Background);
    box.render(&image);
    QStyleOptionButton option;
    option.initFrom(&box);
    const QRect indicator = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
    QList<QRgb> column;
    for (int y = 0; y < image.height(); ++y)
        column << image.pixel(qRound(indicator.center().x() * scale), y);
    return column;
}

TEST(CheckBoxStyle, ALowBoxShowsTheTopAndBottomEdgesOfItsIndicatorAtEveryScale)
{
    QCheckBox box(QStringLiteral("2パスエンコード(変換時間2倍)"));
    box.setFont(Fonts::Pixel(Fonts::UiGothic, 12));
    box.setGeometry(0, 0, 180, 12);
    FitCheckIndicator(box);
    for (const qreal scale : {1.0, 1.25, 1.5, 2.0}) {
        // Down the middle: the background, a dark edge, the white inside, a dark edge, the background.
        const QList<QRgb> column = indicatorColumn(box, scale);
        const auto inside = [](QRgb pixel) { return qGray(pixel) > 240; };
        const int first =
            static_cast<int>(std::find_if(column.cbegin(), column.cend(), inside) - column.cbegin());
        const int last =
            static_cast<int>(column.crend() - std::find_if(column.crbegin(), column.crend(), inside)) - 1;
        ASSERT_LT(first, column.size()) << scale;
        const auto edge = [&](QRgb pixel) { return pixel != Background && !inside(pixel); };
        EXPECT_TRUE(std::any_of(column.cbegin(), column.cbegin() + first, edge))
            << "top edge at scale " << scale;
        EXPECT_TRUE(std::any_of(column.cbegin() + last + 1, column.cend(), edge))
            << "bottom edge at scale " << scale;
    }
}

} // namespace
