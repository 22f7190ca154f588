#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <ctime>

// Sets the process's time zone for a test and restores the previous one.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char* zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_had;
    QByteArray m_old;
};

// Makes `folder` the current folder for a test and returns to the previous one.
class ScopedCurrentFolder
{
public:
    explicit ScopedCurrentFolder(const QString& folder) : m_old(QDir::currentPath())
    {
        QDir::setCurrent(folder);
    }
    ~ScopedCurrentFolder() { QDir::setCurrent(m_old); }

private:
    QString m_old;
};
