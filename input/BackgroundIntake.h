#pragma once

#include "input/InputList.h"

#include <QObject>
#include <QStringList>
#include <memory>

class QThread;

// Takes paths into an input list with the search on a thread of its own, so that the window
// keeps answering while a large folder is searched; the list changes in one step at the end.
class BackgroundIntake : public QObject
{
    Q_OBJECT
public:
    explicit BackgroundIntake(InputList& list, QObject* parent = nullptr);
    // Stops a running search and waits for its thread.
    ~BackgroundIntake() override;

    // Starts taking `paths`; Finished follows through the event loop. False while a search runs.
    bool Start(const QStringList& paths);
    bool Running() const { return m_thread != nullptr; }
    // Ends the running search; nothing of it is taken.
    void Stop();

signals:
    // The list has taken what was found (nothing when `stopped`); its Untaken() names the rest.
    void Finished(bool stopped);

private:
    void finish();

    InputList& m_list;
    std::unique_ptr<QThread> m_thread;
    Intake m_intake; // written by the search's thread, read once it has ended
};
