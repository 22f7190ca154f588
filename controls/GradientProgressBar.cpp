#include "controls/GradientProgressBar.h"

#include <QMouseEvent>

GradientProgressBar::GradientProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
}

void GradientProgressBar::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}
