#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// Estimates how long a run still needs from how much of it is done, steadily: nothing until the
// measured rate has settled, then a count-down that follows the rate without jumping.
class TimeLeft
{
public:
    // Takes the fraction of the run done (0 to 1) after `elapsedMs`; returns the seconds left,
    // rounded up, once the estimate is steady.
    std::optional<int> Update(double fraction, qint64 elapsedMs);

private:
    std::optional<double> m_estimateMs; // the smoothed estimate at m_lastElapsedMs
    qint64 m_lastElapsedMs = 0;
    int m_steadyUpdates = 0;
    bool m_shown = false; // once shown, an estimate stays
};

// "1:23" or "1:02:03".
QString ClockText(int seconds);
