#include "platform/DesktopNotification.h"

#include "platform/ProgramTitle.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace DesktopNotification
{

void Send(const QString& summary, const QString& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The icon by its installed name; the desktop entry lets the service group and label it.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("korumi")}};
    const int keepServiceDefault = -1;
    call << ProgramTitle << 0u << QStringLiteral("korumi") << summary << body << QStringList() << hints
         << keepServiceDefault;
    // Sent without waiting for a reply: a missing service answers with an error nobody reads.
    bus.send(call);
}

} // namespace DesktopNotification
