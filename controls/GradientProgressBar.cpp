#include "controls/GradientProgressBar.h"

GradientProgressBar::GradientProgressBar(QWidget* parent) : QProgressBar(parent)
{
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
}
