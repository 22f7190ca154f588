#pragma once

#include <QObject>
#include <QPoint>

class QWidget;
class QMouseEvent;

// Lets a borderless window be moved by pressing on its own surface and dragging. Presses on child
// widgets (buttons, lists, fields) never reach the window and so never move it; shapes and
// labels are made transparent for the mouse so that they count as surface. A press starts nothing
// until the pointer has gone the platform's drag distance with the button held: a plain click
// leaves the window where it is and the window manager out of it.
class WindowDragger : public QObject
{
public:
    explicit WindowDragger(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Pressed: the button is down and the pointer has not yet gone the drag distance. Then the
    // window manager moves the window (HandedOver) or, where it cannot, we do (Following).
    enum class State { Idle, Pressed, HandedOver, Following };

    bool press(QMouseEvent* event);
    bool move(QMouseEvent* event);
    void release(QMouseEvent* event);

    QWidget* m_window;
    State m_state = State::Idle;
    QPoint m_pressAt;    // where the button went down, on the screen
    QPoint m_grabOffset; // from the window's corner to the pointer at the press
};
