#include "app/ScreenPlacement.h"

#include "settings/SavedSettings.h"

#include <QGuiApplication>
#include <QScreen>

QPoint PlaceOnScreens(QPoint saved, QSize stripSize, const QList<QRect>& screens)
{
    // In 64 bits: a strip built at a saved position near the integer limits would wrap around
    // and seem to cover every screen.
    const qint64 left = saved.x();
    const qint64 top = saved.y();
    for (const QRect& screen : screens)
        if (left < qint64(screen.x()) + screen.width() && left + stripSize.width() > screen.x() &&
            top < qint64(screen.y()) + screen.height() && top + stripSize.height() > screen.y())
            return saved;
    return MainWindowStart;
}

QList<QRect> ScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}
