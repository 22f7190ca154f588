#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the signals that ask a program to stop (SIGINT from Ctrl+C, SIGTERM from a logout or
// `kill`, SIGHUP from a closed terminal) into a Qt signal delivered through the event loop, so
// that stopping runs as ordinary code. The handler only writes the signal's number to a pipe.
// One instance per process; while it lives these signals no longer end the process by themselves.
class StopSignals : public QObject
{
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    // The first stop signal received, or 0; set as soon as it arrives, before Received.
    static int First();
    // How many stop signals have arrived so far.
    static int Count();

signals:
    void Received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};
