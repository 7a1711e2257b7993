#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tvt {

InstanceLock::InstanceLock(const QString& path) : filePath(path) {}

InstanceLock::~InstanceLock() {
    delete lock;
}

bool InstanceLock::acquire() {
    if (lock && lock->isLocked())
        return true;
    otherHolder = false;
    // A file no live game holds (another user's, one naming some other live process) is taken
    // over once; where the folder does not allow that, the game runs without the lock.
    for (int attempt = 0; attempt < 2; ++attempt) {
        delete lock;
        lock = new QLockFile(filePath);
        // Only a dead owner makes a lock stale: a game may run for hours.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            return true;
        if (lock->error() != QLockFile::LockFailedError)
            return false;
        if (heldByLiveGame()) {
            otherHolder = true;
            return false;
        }
        if (!QFile::remove(filePath))
            return false;
    }
    return false;
}

bool InstanceLock::heldByLiveGame() {
    // A running game keeps its lock file locked for as long as it runs; a file that we cannot
    // even read is not one our own game wrote.
    const int fd = ::open(QFile::encodeName(filePath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    if (held) {
        QString host, application;
        lock->getLockInfo(&holder, &host, &application);
    }
    return held;
}

QString InstanceLock::defaultPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    // The temporary folder is shared by every user: each has a lock of their own there.
    if (folder.isEmpty() || !QDir(folder).exists())
        return QDir(QDir::tempPath()).filePath(QStringLiteral("torvik-orbitrax-%1.lock").arg(::getuid()));
    return QDir(folder).filePath(QStringLiteral("torvik-orbitrax.lock"));
}

} // namespace tvt
