#pragma once

#include <QString>
#include <memory>

// A claim on a name that every Korumi process writing into one folder respects, whoever runs
// it: a lock file held open under an exclusive flock. The kernel ends the lock with its process,
// however it ends, so a run that died never blocks a later one.
class NameClaim
{
public:
    enum class Outcome {
        Claimed,  // this process holds the claim now
        Held,     // a live process holds it
        Unusable, // no lock file can be made there (a read-only folder, say)
        Unlocked, // the file system gives no locks there (the system's error is in errno)
    };

    // Tries to claim `lockPath` without waiting; `claim` is set when the outcome is Claimed. A
    // lock file made for a claim that cannot be locked is removed again.
    static Outcome TryTake(const QString& lockPath, std::unique_ptr<NameClaim>& claim);

    // Removes the lock file, then lets go of it.
    ~NameClaim();
    NameClaim(const NameClaim&) = delete;
    NameClaim& operator=(const NameClaim&) = delete;

private:
    NameClaim(QByteArray path, int descriptor) : m_path(std::move(path)), m_descriptor(descriptor) {}

    QByteArray m_path;
    int m_descriptor;
};
