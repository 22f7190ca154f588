#pragma once

#include "conversion/HiddenProcess.h"

// Grabs a thumbnail in the background, beside the encoder, and says when to look for it: when
// the grab has ended. A grab of a large source may take seconds, so it is never cut short; only
// the end of its pass (Stop) ends it.
class ThumbnailGrab : public QObject
{
    Q_OBJECT
public:
    explicit ThumbnailGrab(QObject* parent = nullptr);

    // Starts the grab of a picture `scale` times the asked-for size, for a screen with that many
    // pixels to a point.
    void Start(const Command& command, const QString& programFolder, int scale = 1);
    // Ends a grab still running, without Done.
    void Stop();

signals:
    void Done();

private:
    void finish();

    HiddenProcess m_process;
    bool m_waiting = false;
};
