#include "conversion/SourceLengths.h"

#include "platform/MediaFacts.h"

#include <QFile>
#include <QThread>
#include <algorithm>
#include <numeric>

SourceLengths::SourceLengths(QObject* parent) : QObject(parent) {}

SourceLengths::~SourceLengths()
{
    if (!m_thread)
        return;
    m_stop = true;
    m_thread->wait();
}

void SourceLengths::Start(const QStringList& files)
{
    m_thread.reset(QThread::create([this, &files] {
        m_learnt.resize(files.size());
        for (qsizetype i = 0; i < files.size() && !m_stop; ++i)
            m_learnt[i] =
                ProbeMedia(QFile::encodeName(files.at(i)).toStdString()).DeclaredSeconds.value_or(0);
    }));
    connect(m_thread.get(), &QThread::finished, this, [this] {
        m_thread->wait();
        m_thread.reset();
        const qsizetype known =
            std::count_if(m_learnt.cbegin(), m_learnt.cend(), [](double s) { return s > 0; });
        if (known == 0)
            return;
        const double average = std::accumulate(m_learnt.cbegin(), m_learnt.cend(), 0.0) / double(known);
        m_weights.resize(m_learnt.size());
        for (qsizetype i = 0; i < m_learnt.size(); ++i)
            m_weights[i] = m_learnt[i] > 0 ? m_learnt[i] / average : 1;
        emit Known();
    });
    m_thread->start();
}

double SourceLengths::Weight(int index) const
{
    return index < m_weights.size() ? m_weights[index] : 1;
}
