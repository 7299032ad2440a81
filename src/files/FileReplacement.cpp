#include "files/FileReplacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileDevice>
#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "files/SystemCalls.h"

namespace {

constexpr std::string_view TempMark = ".drovix-";
constexpr size_t TempLetters = 6;

bool Fail(int cause, QFileDevice::FileError kind, std::string* error, int* errorNumber) {
    if (error) *error = std::strerror(cause);
    if (errorNumber) *errorNumber = static_cast<int>(kind);
    return false;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// Saving through a symbolic link replaces the file it leads to, never the link itself.
std::string FollowLinks(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char link[PATH_MAX];
        const ssize_t size = ::readlink(path.c_str(), link, sizeof link);
        if (size <= 0 || static_cast<size_t>(size) == sizeof link) return path;
        const std::string target(link, static_cast<size_t>(size));
        path = target.front() == '/' ? target : FolderOf(path) + target;
    }
    return path;
}

std::string RandomLetters() {
    static constexpr char Letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string text(TempLetters, ' ');
    for (char& c : text)
        c = Letters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof Letters - 1))];
    return text;
}

// Tries fresh temporary names beside target until makeAt(name) succeeds or fails for another
// reason than the name being taken (errno tells then).
template <typename MakeAt>
bool AtFreshName(const std::string& target, std::string& name, MakeAt makeAt) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + std::string(TempMark) + RandomLetters();
        if (makeAt(name)) return true;
        if (errno != EEXIST) break;
    }
    name.clear();
    return false;
}

// A file opened without a name gets one through its descriptor's entry in /proc.
std::string DescriptorPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

bool LinkDescriptor(int fd, const std::string& name) {
    return filecalls::LinkAt(DescriptorPath(fd).c_str(), name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// The old file's owner first: a change of owner may clear permission bits set before it.
void TakeOverOwnerAndPermissions(int fd, const struct stat& old) {
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Only a privileged process may give a file away; anyone may pass it to a group of theirs.
        const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        (void)groupOnly;
    }
    ::fchmod(fd, old.st_mode & 07777);
}

bool IsLeftoverOf(std::string_view entry, std::string_view name) {
    if (entry.size() <= name.size() || entry.substr(0, name.size()) != name || entry[name.size()] != '.')
        return false;
    std::string_view rest = entry.substr(name.size());
    // This program's own naming, and the six letters after a dot of the saves it made before.
    rest.remove_prefix(rest.substr(0, TempMark.size()) == TempMark ? TempMark.size() : 1);
    if (rest.size() != TempLetters) return false;
    for (char c : rest) {
        const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (!alnum) return false;
    }
    return true;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path) : target_(FollowLinks(path)) {}

FileReplacement::~FileReplacement() {
    Close();
    if (!tempName_.empty()) filecalls::Remove(tempName_.c_str());
}

bool FileReplacement::Write(std::string_view bytes, std::string* error, int* errorNumber) {
    return Begin(error, errorNumber) && Append(bytes, error, errorNumber) && Finish(error, errorNumber);
}

bool FileReplacement::Begin(std::string* error, int* errorNumber) {
    struct stat old {};
    const bool exists = ::stat(target_.c_str(), &old) == 0;
    // A file marked read-only is left so.
    if (exists && ::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
        return Fail(errno, QFileDevice::WriteError, error, errorNumber);
    // Nobody else may read the new file before it has the old one's permissions.
    const mode_t mode = exists ? 0600 : 0666;
    fd_ = filecalls::Open(FolderOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // This file system cannot make a file without a name.
        AtFreshName(target_, tempName_, [&](const std::string& name) {
            fd_ = filecalls::Open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, mode);
            return fd_ >= 0;
        });
    }
    if (fd_ < 0) return Fail(errno, QFileDevice::OpenError, error, errorNumber);
    if (exists) TakeOverOwnerAndPermissions(fd_, old);
    return true;
}

bool FileReplacement::Append(std::string_view bytes, std::string* error, int* errorNumber) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = filecalls::Write(fd_, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        // A write that takes nothing without saying why: the disk is full.
        if (n <= 0) return Fail(n < 0 ? errno : ENOSPC, QFileDevice::WriteError, error, errorNumber);
        written += static_cast<size_t>(n);
    }
    // A large file goes to disk while the rest is still being made: the flush at the end then
    // waits for the last part only. Best effort; the flush is what makes the file last.
    appended_ += static_cast<off_t>(bytes.size());
    if (appended_ - sent_ >= SendToDiskEvery) {
        ::sync_file_range(fd_, sent_, appended_ - sent_, SYNC_FILE_RANGE_WRITE);
        sent_ = appended_;
    }
    return true;
}

bool FileReplacement::StartOver(std::string* error, int* errorNumber) {
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        return Fail(errno, QFileDevice::WriteError, error, errorNumber);
    appended_ = sent_ = 0;
    return true;
}

bool FileReplacement::Finish(std::string* error, int* errorNumber) {
    if (filecalls::DataSync(fd_) != 0) return Fail(errno, QFileDevice::WriteError, error, errorNumber);
    return true;
}

bool FileReplacement::GiveTemporaryName(std::string* error, int* errorNumber) {
    if (!tempName_.empty()) return true;
    if (AtFreshName(target_, tempName_, [&](const std::string& name) { return LinkDescriptor(fd_, name); }))
        return true;
    return Fail(errno, QFileDevice::RenameError, error, errorNumber);
}

bool FileReplacement::Replace(std::string* error, int* errorNumber) {
    if (!GiveTemporaryName(error, errorNumber)) return false;
    if (filecalls::Rename(tempName_.c_str(), target_.c_str()) != 0)
        return Fail(errno, QFileDevice::RenameError, error, errorNumber);
    tempName_.clear();
    Close();
    SyncFolder();
    return true;
}

FileReplacement::Created FileReplacement::CreateOnly(std::string* error, int* errorNumber) {
    bool created;
    if (tempName_.empty()) {
        created = LinkDescriptor(fd_, target_);
    } else {
        created = filecalls::RenameNoReplace(tempName_.c_str(), target_.c_str()) == 0;
        if (created) tempName_.clear();
        // A file system that cannot rename without replacing may still link (the name goes after).
        if (!created && errno == EINVAL)
            created = filecalls::LinkAt(tempName_.c_str(), target_.c_str(), 0) == 0;
    }
    if (!created) {
        if (errno == EEXIST) return Created::NameTaken;
        Fail(errno, QFileDevice::RenameError, error, errorNumber);
        return Created::Failed;
    }
    if (!tempName_.empty()) filecalls::Remove(tempName_.c_str());
    tempName_.clear();
    Close();
    SyncFolder();
    return Created::Yes;
}

// Once in place, the file is no longer this object's: nothing of it stays open.
void FileReplacement::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

// A rename lasts only once the folder that holds the name is on disk: without this, a power cut
// soon after a save can bring the old file back. Best effort: the new file is in place already.
void FileReplacement::SyncFolder() const {
    const int fd = filecalls::Open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void RemoveSaveLeftovers(const std::string& path) {
    const std::string target = FollowLinks(path);
    const std::string name = NameOf(target);
    DIR* dir = ::opendir(FolderOf(target).c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsLeftoverOf(entry->d_name, name)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            filecalls::RemoveAt(::dirfd(dir), entry->d_name, (FolderOf(target) + entry->d_name).c_str());
    }
    ::closedir(dir);
}
