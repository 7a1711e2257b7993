#include "platform/InstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace tvt {

InstanceLock::InstanceLock(const QString& path) : filePath(path) {}

InstanceLock::~InstanceLock() {
    delete lock;
}

bool InstanceLock::acquire() {
    if (lock && lock->isLocked())
        return true;
    delete lock;
    lock = new QLockFile(filePath);
    // Only a dead owner makes a lock stale: a game may run for hours.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        otherHolder = false;
        return true;
    }
    otherHolder = lock->error() == QLockFile::LockFailedError;
    return false;
}

QString InstanceLock::defaultPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("torvik-orbitrax.lock"));
}

} // namespace tvt
