#include "platform/InstanceLock.h"

#include <QLockFile>
#include <QStandardPaths>

std::string InstanceLockPath() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation).toStdString() + "/TARNEL-Lumivex.lock";
}

std::unique_ptr<QLockFile> AcquireInstanceLock(const std::string& path) {
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(path));
    // The console holds the lock for hours: only a lock whose process has
    // died is stale, never one that is merely old.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}
