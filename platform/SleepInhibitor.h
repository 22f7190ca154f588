#pragma once

#include <QObject>
#include <QString>

// Keeps the machine from sleeping or going idle while it lives, through a systemd-logind inhibitor
// lock. Logind holds the lock while the descriptor it hands out stays open, so the lock goes with
// this process however the process ends, even killed outright. It is asked for without waiting;
// without logind, or where the system refuses, nothing is held and nothing else changes.
class SleepInhibitor : public QObject
{
    Q_OBJECT
public:
    explicit SleepInhibitor(const QString& reason, QObject* parent = nullptr);
    ~SleepInhibitor() override;

private:
    int m_lock = -1;
};
