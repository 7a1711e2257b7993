#pragma once

#include <QString>

class QLockFile;

namespace tvt {

// A lock file that tells whether another process of the program runs. A lock left by a process
// that no longer exists counts as free and is taken over.
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
    QString path() const { return filePath; }

    // "torvik-orbitrax.lock" in the user's runtime folder, or in the temporary folder.
    static QString defaultPath();

private:
    QString filePath;
    QLockFile* lock = nullptr;
    bool otherHolder = false;
};

} // namespace tvt
