#include "platform/WindowDragger.h"

#include "platform/WindowManagerMove.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDragger::WindowDragger(QWidget* window) : QObject(window), m_window(window)
{
    window->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return press(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return move(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        release(static_cast<QMouseEvent*>(event));
        return false;
    default:
        return false;
    }
}

bool WindowDragger::press(QMouseEvent* event)
{
    // A disabled window (the main window during a run) stays where it is.
    if (event->button() != Qt::LeftButton || !m_window->isEnabled())
        return false;
    m_state = State::Pressed;
    m_pressAt = event->globalPosition().toPoint();
    m_grabOffset = m_pressAt - m_window->pos();
    return true;
}

bool WindowDragger::move(QMouseEvent* event)
{
    if (m_state == State::Idle || m_state == State::HandedOver)
        return false;
    if (!(event->buttons() & Qt::LeftButton)) {
        m_state = State::Idle;
        return false;
    }
    const QPoint pointer = event->globalPosition().toPoint();
    if (m_state == State::Following) {
        m_window->move(pointer - m_grabOffset);
        return true;
    }
    if ((pointer - m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
        QWindow* handle = m_window->windowHandle();
        m_state = handle && WindowManagerMove::Start(*handle) ? State::HandedOver : State::Following;
        if (m_state == State::Following)
            m_window->move(pointer - m_grabOffset);
    }
    return true;
}

void WindowDragger::release(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Once the window manager has the pointer, the release goes to it, not here. A release that
    // comes here after all came before the window manager took over: its move is called off, and
    // the window goes where the drag ended.
    if (m_state == State::HandedOver) {
        if (QWindow* handle = m_window->windowHandle())
            WindowManagerMove::Cancel(*handle);
        m_window->move(event->globalPosition().toPoint() - m_grabOffset);
    }
    m_state = State::Idle;
}
