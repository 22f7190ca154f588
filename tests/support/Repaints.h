#pragma once

#include <QEvent>
#include <QPaintEvent>
#include <QTest>
#include <QWidget>
#include <vector>

// Records the rectangles of the paint events a widget receives.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    std::vector<QRect> Rects;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Rects.push_back(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

// Asks for a repaint of one pixel and waits for it. Qt draws an update still pending in the same
// paint event, so the widget had nothing else waiting to be drawn exactly when that paint covers
// the pixel alone.
inline bool NothingElseToPaint(QWidget& widget)
{
    const QRect pixel(0, 0, 1, 1);
    PaintRecorder paints(widget);
    widget.update(pixel);
    return QTest::qWaitFor([&] { return !paints.Rects.empty(); }, 30000) &&
           paints.Rects == std::vector<QRect>{pixel};
}

// Shows `widget` and waits until it has drawn everything its showing asked for.
inline bool ShowSettled(QWidget& widget)
{
    widget.show();
    return QTest::qWaitForWindowExposed(&widget) &&
           QTest::qWaitFor([&] { return NothingElseToPaint(widget); }, 30000);
}
