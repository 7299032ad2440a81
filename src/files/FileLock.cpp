#include "files/FileLock.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "files/SystemCalls.h"

namespace {

// A file replaced between the open and the lock leaves the lock on a file nobody reads any more;
// the name is then tried again, a few times.
constexpr int AttemptsWhileReplaced = 3;

// Someone opening a leased file breaks the lease, and the holder is told by a signal: SIGIO
// unless another is named, and SIGIO ends a process. SIGURG does nothing unless a handler is
// set for it, which nothing in Drovix does; the break is asked for before the replacement.
constexpr int LeaseBreakSignal = SIGURG;

enum class Lease { Taken, OpenElsewhere, NotOwner, Unsupported };

Lease TakeWriteLease(int fd) {
    if (::fcntl(fd, F_SETSIG, LeaseBreakSignal) == 0 && ::fcntl(fd, F_SETLEASE, F_WRLCK) == 0)
        return Lease::Taken;
    if (errno == EAGAIN) return Lease::OpenElsewhere;
    if (errno == EACCES) return Lease::NotOwner;
    return Lease::Unsupported;
}

ExclusiveFileLock::Outcome Fail(const char* why, std::string* error) {
    if (error) *error = why;
    return ExclusiveFileLock::Outcome::Failed;
}

bool StillNamed(int fd, const std::string& path) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

bool AllDigits(const char* text) {
    if (*text == '\0') return false;
    for (; *text; ++text)
        if (*text < '0' || *text > '9') return false;
    return true;
}

// Whether one of the open files listed in folder (a /proc/<pid>/fd) is on the file held, leaving
// out the descriptor skip.
bool ListsFile(const std::string& folder, const struct stat& held, const char* skip) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;  // a process that ended, or one this one may not look into
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (!AllDigits(entry->d_name) || (skip && std::strcmp(entry->d_name, skip) == 0)) continue;
        struct stat st {};
        if (::stat((folder + entry->d_name).c_str(), &st) == 0 && st.st_dev == held.st_dev &&
            st.st_ino == held.st_ino) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

}  // namespace

bool OpenElsewhere(int fd) {
    struct stat held {};
    DIR* proc = ::fstat(fd, &held) == 0 ? ::opendir("/proc") : nullptr;
    if (!proc) return true;  // no way to tell: as if it were
    const std::string self = std::to_string(::getpid()), ownDescriptor = std::to_string(fd);
    bool found = false;
    while (const dirent* entry = ::readdir(proc)) {
        if (!AllDigits(entry->d_name)) continue;
        const bool isSelf = self == entry->d_name;
        if (ListsFile("/proc/" + std::string(entry->d_name) + "/fd/", held,
                      isSelf ? ownDescriptor.c_str() : nullptr)) {
            found = true;
            break;
        }
    }
    ::closedir(proc);
    return found;
}

ExclusiveFileLock::Outcome ExclusiveFileLock::TryLock(const std::string& path, std::string* error) {
    Unlock();
    for (int attempt = 0; attempt < AttemptsWhileReplaced; ++attempt) {
        // Without waiting: opening a file another process holds a lease on waits until it lets go.
        fd_ = filecalls::Open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0) {
            if (errno == ENOENT) return Outcome::Missing;
            return errno == EWOULDBLOCK ? Outcome::InUse : Fail(std::strerror(errno), error);
        }
        struct stat opened {};
        if (::fstat(fd_, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            Unlock();
            return Fail("it is not a plain file", error);
        }
        int locked;
        do {
            locked = filecalls::Lock(fd_, LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            const int cause = errno;
            Unlock();
            return cause == EWOULDBLOCK ? Outcome::InUse : Fail(std::strerror(cause), error);
        }
        const Outcome openers = against_ == Against::AnyOpener ? KeepOutOtherOpeners(error) : Outcome::Locked;
        if (openers != Outcome::Locked) return openers;
        if (StillNamed(fd_, path)) return Outcome::Locked;
        Unlock();
    }
    return Outcome::InUse;
}

ExclusiveFileLock::Outcome ExclusiveFileLock::KeepOutOtherOpeners(std::string* error) {
    switch (TakeWriteLease(fd_)) {
        case Lease::Taken:
            leased_ = true;
            break;
        case Lease::OpenElsewhere:
            Unlock();
            return Outcome::InUse;
        case Lease::NotOwner:
            // The owner's programs are hidden from this one, and the new file would no longer
            // be the owner's: a writer of theirs could lose its lines either way.
            Unlock();
            return Fail(
                "it belongs to another user, so Drovix cannot make sure that none of their programs is "
                "writing to it",
                error);
        case Lease::Unsupported:
            // A file system without leases: the processes of this computer are asked instead.
            if (OpenElsewhere(fd_)) {
                Unlock();
                return Outcome::InUse;
            }
            break;
    }
    return Outcome::Locked;
}

bool ExclusiveFileLock::StillExclusive() const {
    if (fd_ < 0) return false;
    return leased_ ? ::fcntl(fd_, F_GETLEASE) == F_WRLCK : !OpenElsewhere(fd_);
}

void ExclusiveFileLock::Unlock() {
    if (fd_ < 0) return;
    if (leased_) ::fcntl(fd_, F_SETLEASE, F_UNLCK);
    ::close(fd_);
    fd_ = -1;
    leased_ = false;
}
