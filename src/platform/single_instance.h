#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace velmora {

// Tells whether another instance of the program runs for this user: a lock file in the
// user's runtime folder, held for the life of the process (a crashed holder's stale lock
// is taken over).
class InstanceLock {
public:
    explicit InstanceLock(QString lockPath = {});
    ~InstanceLock();

    // True when this process now holds the lock; false when another instance does.
    bool acquire();

    static QString defaultLockPath();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace velmora
