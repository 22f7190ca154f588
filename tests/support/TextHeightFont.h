#pragma once

#include "platform/Fonts.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

// The interface font at the pixel size whose text height is `height`.
inline QFont FontOfTextHeight(int height)
{
    for (int pixels = 6; pixels < 40; ++pixels) {
        const QFont font = Fonts::Pixel(Fonts::UiGothic, pixels);
        if (QFontMetrics(font).height() == height)
            return font;
    }
    ADD_FAILURE() << "no interface font with text height " << height;
    return {};
}
