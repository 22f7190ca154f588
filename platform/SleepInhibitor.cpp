#include "platform/SleepInhibitor.h"

#include "platform/ProgramTitle.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <fcntl.h>
#include <unistd.h>

SleepInhibitor::SleepInhibitor(const QString& reason, QObject* parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << ProgramTitle << reason << QStringLiteral("block");
    // Owned by this object: a reply that comes after it has gone is dropped, and its lock with it.
    auto* reply = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this, [this, reply] {
        const QDBusPendingReply<QDBusUnixFileDescriptor> lock = *reply;
        if (lock.isValid() && lock.value().isValid())
            m_lock = fcntl(lock.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0);
        reply->deleteLater();
    });
}

SleepInhibitor::~SleepInhibitor()
{
    if (m_lock >= 0)
        ::close(m_lock);
}
