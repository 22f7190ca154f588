#include "conversion/TargetClaims.h"

#include "conversion/TargetPlan.h"
#include "platform/Paths.h"
#include "platform/WorkingFiles.h"

#include <QDir>
#include <QFileInfo>

namespace
{

bool isFree(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() && !info.isSymLink();
}

} // namespace

TargetClaims::Claimed TargetClaims::Claim(const QString& target, const QString& wanted, FoundFiles found)
{
    const bool resuming = found == FoundFiles::EarlierResults;
    for (int number = 1;; ++number) {
        const QString candidate = number == 1 ? target : NumberedTarget(wanted, number);
        if (number > 1 && (candidate == target || isPlanned(candidate) || !isFree(candidate)))
            continue;
        std::unique_ptr<NameClaim> claim;
        switch (NameClaim::TryTake(WorkingFiles::LockPathFor(candidate), claim)) {
        case NameClaim::Outcome::Held:
            if (resuming)
                return {QString(), QString(), true};
            continue;
        case NameClaim::Outcome::Unlocked:
            return {QString(), qt_error_string(errno)};
        case NameClaim::Outcome::Claimed:
            // Another run may have finished it between our plan and our claim.
            if (resuming && !isFree(candidate))
                return {QString(), QString(), true};
            m_held.insert(candidate, std::move(claim));
            return {candidate, QString()};
        case NameClaim::Outcome::Unusable:
            return {candidate, QString()};
        }
    }
}

void TargetClaims::Release(const QString& target)
{
    m_held.remove(target);
}

void TargetClaims::RemoveStale(const QString& folder)
{
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (!WorkingFiles::IsLockFile(name))
            continue;
        // Taken only when nobody holds it; letting go removes it.
        std::unique_ptr<NameClaim> stale;
        NameClaim::TryTake(Paths::Join(folder, name), stale);
    }
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
