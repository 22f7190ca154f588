#pragma once

#include <QString>

// Desktop notifications through the freedesktop notification service on the session bus.
namespace DesktopNotification
{

// Shows `summary` (and `body`, when not empty) with the program's icon. Nothing waits for the
// service, and without a session bus or a notification service nothing happens.
void Send(const QString& summary, const QString& body = QString());

} // namespace DesktopNotification
