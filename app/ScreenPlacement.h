#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window whose title strip starts at `saved` goes: there when some screen shows part
// of the strip (`stripSize` wide and high), else back at MainWindowStart.
QPoint PlaceOnScreens(QPoint saved, QSize stripSize, const QList<QRect>& screens);

// The available areas of the screens attached now.
QList<QRect> ScreenAreas();
