#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// Estimates how long a run still needs from its rate so far, smoothed: nothing until the run
// has gone on for a few seconds, then a count-down that never rises while the work advances.
// A slower stretch holds it; only work that stalls makes it grow.
class TimeLeft
{
public:
    // Takes the fraction of the run done (0 to 1) after `elapsedMs`; returns the seconds left,
    // rounded up, once there is enough to estimate from.
    std::optional<int> Update(double fraction, qint64 elapsedMs);

private:
    std::optional<double> m_estimateMs; // the smoothed estimate at m_lastElapsedMs
    qint64 m_lastElapsedMs = 0;
    double m_lastFraction = 0;
    qint64 m_lastAdvanceMs = 0; // when the fraction last grew
};

// "1:23" or "1:02:03".
QString ClockText(int seconds);
