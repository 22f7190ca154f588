#pragma once

#include "conversion/HiddenProcess.h"

#include <QTimer>

// Grabs a thumbnail in the background, beside the encoder, and says when to look for it: when
// the grab has ended, or after a second at most, when a grab still running is ended.
class ThumbnailGrab : public QObject
{
    Q_OBJECT
public:
    static constexpr int PatienceMs = 1000;

    explicit ThumbnailGrab(QObject* parent = nullptr);

    void Start(const Command& command, const QString& programFolder);
    // Ends a grab still running, without Done.
    void Stop();

signals:
    void Done();

private:
    void finish();

    HiddenProcess m_process;
    QTimer m_patience;
    bool m_waiting = false;
};
