#pragma once

#include "platform/Events.h"

#include <QSpinBox>

// A control for choosing a whole number between Min and Max.
class TDigitBar : public QSpinBox
{
public:
    explicit TDigitBar(QWidget* parent = nullptr);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Position() const { return value(); }
    void SetMin(int min) { setMinimum(min); }
    void SetMax(int max) { setMaximum(max); }
    // Clamps into Min..Max; never raises an error.
    void SetPosition(int position) { setValue(position); }

    TNotifyEvent OnChange;
};
