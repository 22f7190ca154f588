#pragma once

#include <QProgressBar>

// A horizontal progress bar with a percentage text.
class GradientProgressBar : public QProgressBar
{
public:
    explicit GradientProgressBar(QWidget* parent = nullptr);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Position() const { return value(); }
    void SetMin(int min) { setMinimum(min); }
    void SetMax(int max) { setMaximum(max); }
    void SetPosition(int position) { setValue(position); }

protected:
    // The bar is a window of its own: pressing on it never drags the window it sits in.
    void mousePressEvent(QMouseEvent* event) override;
};
