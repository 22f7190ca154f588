#include "input/BackgroundIntake.h"

#include <QThread>
#include <utility>

BackgroundIntake::BackgroundIntake(InputList& list, QObject* parent) : QObject(parent), m_list(list) {}

BackgroundIntake::~BackgroundIntake()
{
    if (!m_thread)
        return;
    m_list.StopCollecting();
    m_thread->wait();
}

bool BackgroundIntake::Start(const QStringList& paths)
{
    if (m_thread)
        return false;
    m_list.PrepareToCollect();
    m_thread.reset(QThread::create([this, paths] { m_intake = m_list.Collect(paths); }));
    // Delivered on this object's thread once the search's thread has ended.
    connect(m_thread.get(), &QThread::finished, this, &BackgroundIntake::finish);
    m_thread->start();
    return true;
}

void BackgroundIntake::Stop()
{
    if (m_thread)
        m_list.StopCollecting();
}

void BackgroundIntake::finish()
{
    m_thread->wait(); // it has signalled its end; now it has ended
    m_thread.reset();
    const bool stopped = m_intake.Stopped;
    m_list.Take(std::exchange(m_intake, {}));
    emit Finished(stopped);
}
