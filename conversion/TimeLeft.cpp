#include "conversion/TimeLeft.h"

#include <algorithm>
#include <cmath>

namespace
{

// Too early, the rate says little: the encoder is still starting.
constexpr qint64 MinElapsedMs = 3000;
// Each measurement moves the estimate this much of the way towards it...
constexpr double Smoothing = 0.2;
// ...but never by more than this share of it, or than a few seconds for short estimates.
constexpr double MaxStepShare = 0.15;
constexpr double MinStepMs = 3000;
// Measurements this close to the count-down in a row make the estimate steady.
constexpr double SteadyShare = 0.25;
constexpr int SteadyUpdatesNeeded = 3;

} // namespace

std::optional<int> TimeLeft::Update(double fraction, qint64 elapsedMs)
{
    if (fraction <= 0 || elapsedMs < MinElapsedMs)
        return std::nullopt;
    const double measured = elapsedMs * (1 - std::min(fraction, 1.0)) / fraction;
    if (!m_estimateMs) {
        m_estimateMs = measured;
    } else {
        // Between measurements the estimate counts down with the clock.
        const double predicted = std::max(0.0, *m_estimateMs - (elapsedMs - m_lastElapsedMs));
        const double maxStep = std::max(MinStepMs, predicted * MaxStepShare);
        const bool close = std::abs(measured - predicted) <= std::max(MinStepMs, predicted * SteadyShare);
        m_steadyUpdates = close ? m_steadyUpdates + 1 : 0;
        m_estimateMs = predicted + std::clamp(Smoothing * (measured - predicted), -maxStep, maxStep);
    }
    m_lastElapsedMs = elapsedMs;
    m_shown = m_shown || m_steadyUpdates >= SteadyUpdatesNeeded;
    if (!m_shown)
        return std::nullopt;
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
