#pragma once

#include <QLabel>

// A field caption: bold dark grey text. Part of the window's surface, so presses on it drag the window.
class TShadowLabel : public QLabel
{
public:
    TShadowLabel(QWidget* parent, const QString& caption, QPoint topLeft,
                 Qt::Alignment alignment = Qt::AlignLeft);
};
