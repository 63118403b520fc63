#include "platform/InstanceLock.h"

#include <QLockFile>
#include <QStandardPaths>

std::string InstanceLockPath() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation).toStdString() + "/TARNEL-Lumivex.lock";
}

std::unique_ptr<QLockFile> AcquireInstanceLock(const std::string& path, bool* heldByOther) {
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(path));
    // The console holds the lock for hours: only a lock whose process has
    // died is stale, never one that is merely old.
    lock->setStaleLockTime(0);
    bool locked = lock->tryLock(0);
    if (heldByOther)
        *heldByOther = !locked && lock->error() == QLockFile::LockFailedError;
    if (!locked)
        return nullptr;
    return lock;
}
