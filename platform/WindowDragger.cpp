#include "platform/WindowDragger.h"

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
        m_dragging = false;
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
    // The window manager moves the window where it can; elsewhere we follow the pointer.
    if (QWindow* handle = m_window->windowHandle(); handle && handle->startSystemMove())
        return true;
    m_dragging = true;
    m_grabOffset = event->globalPosition().toPoint() - m_window->pos();
    return true;
}

bool WindowDragger::move(QMouseEvent* event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton))
        return false;
    m_window->move(event->globalPosition().toPoint() - m_grabOffset);
    return true;
}
