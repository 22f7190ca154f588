#pragma once

#include <functional>

class QObject;

// An event handler bound by its owner; an event with no handler does nothing.
using TNotifyEvent = std::function<void(QObject* Sender)>;

inline void Fire(const TNotifyEvent& event, QObject* sender)
{
    if (event)
        event(sender);
}
