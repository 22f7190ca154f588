#include "controls/DigitBar.h"

TDigitBar::TDigitBar(QWidget* parent) : QSpinBox(parent)
{
    setAlignment(Qt::AlignCenter);
    setFont(QFont(font().family(), 8));
    connect(this, &QSpinBox::valueChanged, this, [this] { Fire(OnChange, this); });
}
