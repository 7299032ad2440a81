#include "app/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// A file replaced between the open and the lock leaves the lock on a file nobody reads any more;
// the name is then tried again, a few times.
constexpr int AttemptsWhileReplaced = 3;

ExclusiveFileLock::Outcome Fail(int errorNumber, std::string* error) {
    if (error) *error = std::strerror(errorNumber);
    return ExclusiveFileLock::Outcome::Failed;
}

bool StillNamed(int fd, const std::string& path) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

ExclusiveFileLock::Outcome ExclusiveFileLock::TryLock(const std::string& path, std::string* error) {
    Unlock();
    for (int attempt = 0; attempt < AttemptsWhileReplaced; ++attempt) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return errno == ENOENT ? Outcome::Missing : Fail(errno, error);
        int locked;
        do {
            locked = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            const int cause = errno;
            ::close(fd);
            return cause == EWOULDBLOCK ? Outcome::InUse : Fail(cause, error);
        }
        if (StillNamed(fd, path)) {
            fd_ = fd;
            return Outcome::Locked;
        }
        ::close(fd);
    }
    return Outcome::InUse;
}

void ExclusiveFileLock::Unlock() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}
