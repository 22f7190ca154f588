#pragma once

#include "conversion/TargetPlan.h"
#include "platform/NameClaim.h"
#include <QStringList>

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>

// The targets a run is writing, claimed so that every Korumi process writing into the same
// folder sees them: a run that starts later never aims at a target a live run is writing, and
// takes the next free made-up name instead, as two files of one run do.
class TargetClaims
{
public:
    // `planned` holds the run's own targets, which a made-up name must not take either.
    explicit TargetClaims(const QStringList& planned) : m_planned(planned) {}
    explicit TargetClaims(QStringList&&) = delete; // only a reference is kept

    struct Claimed {
        QString Target;    // the name to write; empty when there is none
        QString Problem;   // when there is none: why the file system gives no locks in the folder
        bool Done = false; // with the earlier results kept: another run writes or has written it
    };

    // The target to write for a file planned as `target` whose plain name is `wanted`: `target`
    // itself unless another run is writing it, else the first made-up name that is neither
    // planned by this run, nor on disk, nor claimed. A folder where no lock file can be made
    // gives `target` unclaimed: writing there fails on its own, with its own reason. Where earlier
    // results are kept (`found`), a target that another live run is writing, or that a run has
    // written since it was planned, is done: nothing to write.
    Claimed Claim(const QString& target, const QString& wanted, FoundFiles found = FoundFiles::UsersOwn);

    // Lets go of the claim on `target`, once its file is written or given up.
    void Release(const QString& target);

    // Removes the lock files in `folder` that runs which died left behind.
    static void RemoveStale(const QString& folder);

private:
    bool isPlanned(const QString& target);

    const QStringList& m_planned;
    QSet<QString> m_plannedSet; // made from m_planned when a target is first found held
    QHash<QString, std::shared_ptr<NameClaim>> m_held;
};
