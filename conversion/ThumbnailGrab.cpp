#include "conversion/ThumbnailGrab.h"

ThumbnailGrab::ThumbnailGrab(QObject* parent) : QObject(parent)
{
    m_patience.setSingleShot(true);
    m_patience.setInterval(PatienceMs);
    connect(&m_patience, &QTimer::timeout, this, &ThumbnailGrab::finish);
    connect(&m_process, &HiddenProcess::Finished, this, &ThumbnailGrab::finish);
    connect(&m_process, &HiddenProcess::FailedToStart, this, &ThumbnailGrab::finish);
}

void ThumbnailGrab::Start(const Command& command, const QString& programFolder)
{
    m_waiting = true;
    m_patience.start();
    m_process.Start(command, programFolder);
}

void ThumbnailGrab::Stop()
{
    m_waiting = false;
    m_patience.stop();
    m_process.Stop();
}

void ThumbnailGrab::finish()
{
    if (!m_waiting)
        return; // already reported
    m_waiting = false;
    m_patience.stop();
    // A grab that is still running is ended; it writes its picture whole or not at all.
    m_process.Stop();
    emit Done();
}
