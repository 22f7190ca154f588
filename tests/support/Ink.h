#pragma once

#include <QImage>
#include <QRect>

// The bounding box of the pixels where two renderings of the same size differ, such as a control
// drawn with and without its text; empty when they are the same.
inline QRect InkBox(const QImage& with, const QImage& without)
{
    QRect box;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}
