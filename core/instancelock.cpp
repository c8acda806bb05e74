#include "core/instancelock.h"

namespace core {

std::unique_ptr<QLockFile> claimDatabase(const QString& databasePath) {
    auto lock = std::make_unique<QLockFile>(databasePath + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // a lock is stale only when its process is gone
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

} // namespace core
