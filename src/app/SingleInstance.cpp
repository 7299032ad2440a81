#include "app/SingleInstance.h"

SingleInstance::SingleInstance(const std::string& programDir)
    : lock_(std::make_unique<QLockFile>(QString::fromStdString(programDir + "Drovix.lock"))) {
    lock_->setStaleLockTime(0);  // a lock is stale only when its process is gone
    first_ = lock_->tryLock(0);
}
