#include "app/SingleInstance.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// A file that goes between its creation and the lock was removed by a Drovix that just ended.
constexpr int AttemptsWhileRemoved = 3;

}  // namespace

SingleInstance::SingleInstance(const std::string& programDir) : path_(programDir + "Drovix.lock") {
    for (int attempt = 0; attempt < AttemptsWhileRemoved; ++attempt) {
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            error_ = path_ + ": " + std::strerror(errno);
            return;
        }
        ::close(fd);
        std::string why;
        switch (lock_.TryLock(path_, &why)) {
            case ExclusiveFileLock::Outcome::Locked:
                outcome_ = Outcome::First;
                return;
            case ExclusiveFileLock::Outcome::InUse:
                outcome_ = Outcome::AlreadyRunning;
                return;
            case ExclusiveFileLock::Outcome::Missing:
                continue;
            case ExclusiveFileLock::Outcome::Failed:
                error_ = path_ + ": " + why;
                return;
        }
    }
    error_ = path_ + ": removed again and again while it was being locked";
}

SingleInstance::~SingleInstance() {
    if (outcome_ == Outcome::First) ::unlink(path_.c_str());
}
