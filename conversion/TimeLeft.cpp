#include "conversion/TimeLeft.h"

#include <algorithm>
#include <cmath>

namespace
{

// Too early, the rate says little: the encoder is still starting.
constexpr qint64 MinElapsedMs = 5000;
// Each measurement moves the estimate this much of the way towards it...
constexpr double Smoothing = 0.2;
// ...but never by more than this share of it, or than a few seconds for short estimates.
constexpr double MaxStepShare = 0.15;
constexpr double MinStepMs = 3000;
// Work that has not moved for this long may make the estimate grow; before that a slow stretch
// only holds it, so the time left never rises while the bar advances.
constexpr qint64 StallMs = 5000;

} // namespace

std::optional<int> TimeLeft::Update(double fraction, qint64 elapsedMs)
{
    fraction = std::min(fraction, 1.0);
    if (fraction <= 0 || elapsedMs < MinElapsedMs)
        return std::nullopt;
    if (fraction > m_lastFraction) {
        m_lastFraction = fraction;
        m_lastAdvanceMs = elapsedMs;
    }
    // The run's rate so far, from its start.
    const double measured = elapsedMs * (1 - fraction) / fraction;
    if (!m_estimateMs) {
        m_estimateMs = measured;
    } else {
        // Between measurements the estimate counts down with the clock.
        const double previous = *m_estimateMs;
        const double predicted = std::max(0.0, previous - (elapsedMs - m_lastElapsedMs));
        const double maxStep = std::max(MinStepMs, predicted * MaxStepShare);
        double next = predicted + std::clamp(Smoothing * (measured - predicted), -maxStep, maxStep);
        if (elapsedMs - m_lastAdvanceMs < StallMs)
            next = std::min(next, previous);
        m_estimateMs = next;
    }
    m_lastElapsedMs = elapsedMs;
    return static_cast<int>(std::ceil(*m_estimateMs / 1000));
}

QString ClockText(int seconds)
{
    const int hours = seconds / 3600;
    const int minutes = seconds / 60 % 60;
    const QString rest = QStringLiteral("%1").arg(seconds % 60, 2, 10, QLatin1Char('0'));
    if (hours > 0)
        return QStringLiteral("%1:%2:").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')) + rest;
    return QStringLiteral("%1:").arg(minutes) + rest;
}
