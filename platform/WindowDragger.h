#pragma once

#include <QObject>
#include <QPoint>

class QWidget;
class QMouseEvent;

// Lets a borderless window be moved by pressing on its own surface. Presses on child
// widgets (buttons, lists, fields) never reach the window and so never move it; shapes and
// labels are made transparent for the mouse so that they count as surface.
class WindowDragger : public QObject
{
public:
    explicit WindowDragger(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool press(QMouseEvent* event);
    bool move(QMouseEvent* event);

    QWidget* m_window;
    bool m_dragging = false;
    QPoint m_grabOffset;
};
