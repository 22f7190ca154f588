#pragma once

#include <QDir>
#include <QString>

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
