#include "platform/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace velmora {

InstanceLock::InstanceLock(QString lockPath) : path_(lockPath.isEmpty() ? defaultLockPath() : std::move(lockPath)) {}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::acquire() {
    if (lock_ && lock_->isLocked()) return true;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    lock_ = std::make_unique<QLockFile>(path_);
    lock_->setStaleLockTime(0);  // only a dead holder's lock is stale
    return lock_->tryLock(0);
}

QString InstanceLock::defaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + QStringLiteral("/velmora.lock");
}

}  // namespace velmora
