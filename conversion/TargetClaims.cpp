#include "conversion/TargetClaims.h"

#include "conversion/TargetPlan.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace
{

const QString LockPrefix = QStringLiteral(".");
const QString LockSuffix = QStringLiteral(".korumi-lock");

// The hidden lock file beside `target`.
QString lockPathOf(const QString& target)
{
    const QFileInfo info(target);
    return Paths::Join(info.path(), LockPrefix + info.fileName() + LockSuffix);
}

bool isFree(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

} // namespace

QString TargetClaims::Claim(const QString& target, const QString& wanted)
{
    if (tryClaim(target) != NameClaim::Outcome::Held)
        return target;
    for (int number = 2;; ++number) {
        const QString candidate = NumberedTarget(wanted, number);
        if (candidate == target || isPlanned(candidate) || !isFree(candidate))
            continue;
        if (tryClaim(candidate) != NameClaim::Outcome::Held)
            return candidate;
    }
}

void TargetClaims::Release(const QString& target)
{
    m_held.remove(target);
}

void TargetClaims::RemoveStale(const QString& folder)
{
    const QStringList locks =
        QDir(folder).entryList({LockPrefix + QLatin1Char('*') + LockSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& name : locks) {
        // Taken only when nobody holds it; letting go removes it.
        std::unique_ptr<NameClaim> stale;
        NameClaim::TryTake(Paths::Join(folder, name), stale);
    }
}

NameClaim::Outcome TargetClaims::tryClaim(const QString& target)
{
    std::unique_ptr<NameClaim> claim;
    const NameClaim::Outcome outcome = NameClaim::TryTake(lockPathOf(target), claim);
    if (claim)
        m_held.insert(target, std::move(claim));
    return outcome;
}

bool TargetClaims::isPlanned(const QString& target)
{
    if (m_plannedSet.isEmpty()) {
        m_plannedSet.reserve(m_planned.size());
        for (qsizetype i = 0; i < m_planned.size(); ++i)
            m_plannedSet.insert(m_planned.at(i));
    }
    return m_plannedSet.contains(target);
}
