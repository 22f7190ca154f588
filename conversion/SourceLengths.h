#pragma once

#include <QStringList>

#include <QObject>
#include <QVector>
#include <atomic>
#include <memory>

class QThread;

// The lengths of a run's sources in seconds of media, learnt on a thread of its own so that a
// window goes on answering while hundreds of files are opened. Until they are known, and for a
// file that does not tell its length, a file weighs as much as the average of those that do.
class SourceLengths : public QObject
{
    Q_OBJECT
public:
    explicit SourceLengths(QObject* parent = nullptr);
    // Stops the thread and waits for it.
    ~SourceLengths() override;

    // Starts learning the lengths of `files`, which must stay as they are until Known.
    void Start(const QStringList& files);

    // How much of the run's media lies in file `index`, counted in files: 1 for a file of
    // average length, 2 for one twice as long. 1 for every file until the lengths are known.
    double Weight(int index) const;

signals:
    void Known();

private:
    std::unique_ptr<QThread> m_thread;
    std::atomic<bool> m_stop = false;
    QVector<double> m_learnt;  // written by the thread
    QVector<double> m_weights; // empty until Known
};
