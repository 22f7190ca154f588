#include "controls/DigitBar.h"

TDigitBar::TDigitBar(QWidget* parent) : QSpinBox(parent)
{
    setAlignment(Qt::AlignCenter);
    connect(this, &QSpinBox::valueChanged, this, [this] { Fire(OnChange, this); });
}
