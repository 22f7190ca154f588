#include "conversion/ThumbnailGrab.h"

ThumbnailGrab::ThumbnailGrab(QObject* parent) : QObject(parent)
{
    connect(&m_process, &HiddenProcess::Finished, this, &ThumbnailGrab::finish);
    connect(&m_process, &HiddenProcess::FailedToStart, this, &ThumbnailGrab::finish);
}

void ThumbnailGrab::Start(const Command& command, const QString& programFolder, int scale)
{
    m_waiting = true;
    m_process.Start(command, programFolder,
                    {{QStringLiteral("KORUMI_PICTURE_SCALE"), QString::number(scale)}});
}

void ThumbnailGrab::Stop()
{
    m_waiting = false;
    m_process.Stop();
}

void ThumbnailGrab::finish()
{
    if (!m_waiting)
        return; // stopped: nobody looks for its picture
    m_waiting = false;
    emit Done();
}
