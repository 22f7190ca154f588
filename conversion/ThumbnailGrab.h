#pragma once

#include "conversion/HiddenProcess.h"

#include <QTimer>

// Grabs a thumbnail in the background and says when to look for it: when the grab has ended,
// or after a second at most, so a slow source never holds up its conversion for longer.
class ThumbnailGrab : public QObject
{
    Q_OBJECT
public:
    static constexpr int PatienceMs = 1000;

    explicit ThumbnailGrab(QObject* parent = nullptr);

    void Start(const Command& command, const QString& programFolder);

signals:
    void Done();

private:
    void finish();

    HiddenProcess m_process;
    QTimer m_patience;
    bool m_waiting = false;
};
