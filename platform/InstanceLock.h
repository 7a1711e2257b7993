#pragma once

#include <QString>

class QLockFile;

namespace tvt {

// A lock file that tells whether another process of the program runs. Only a lock held by a live
// process of the program counts: one left by a dead process, one naming some other process or one
// we cannot read is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process holds the lock now; false when a live process holds it. A lock that
    // cannot be written at all (no runtime folder) counts as held by nobody.
    bool acquire();
    bool heldByOther() const { return otherHolder; }
    // The process that holds the lock when heldByOther() (0 when it cannot be told).
    qint64 holderPid() const { return holder; }
    QString path() const { return filePath; }

    // "torvik-orbitrax.lock" in the user's runtime folder, else "torvik-orbitrax-<uid>.lock" in the
    // temporary folder.
    static QString defaultPath();

private:
    bool heldByLiveGame();

    QString filePath;
    QLockFile* lock = nullptr;
    bool otherHolder = false;
    qint64 holder = 0;
};

} // namespace tvt
