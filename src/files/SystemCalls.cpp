#include "files/SystemCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "files/FileFaults.h"

namespace filecalls {

namespace {

// True when the call must fail; errno then holds why.
bool Faulted(FileCall call, const char* path = "") {
    const int fault = InjectedFault(call, path);
    if (fault == 0) return false;
    errno = fault;
    return true;
}

}  // namespace

int Open(const char* path, int flags, mode_t mode) {
    return Faulted(FileCall::Open, path) ? -1 : ::open(path, flags, mode);
}

ssize_t Read(int fd, void* buffer, size_t size) {
    return Faulted(FileCall::Read) ? -1 : ::read(fd, buffer, size);
}

ssize_t ReadAt(int fd, void* buffer, size_t size, off_t offset) {
    return Faulted(FileCall::Read) ? -1 : ::pread(fd, buffer, size, offset);
}

ssize_t Write(int fd, const void* bytes, size_t size) {
    return Faulted(FileCall::Write) ? -1 : ::write(fd, bytes, size);
}

int Truncate(int fd, off_t size) {
    return Faulted(FileCall::Write) ? -1 : ::ftruncate(fd, size);
}

int DataSync(int fd) {
    return Faulted(FileCall::Sync) ? -1 : ::fdatasync(fd);
}

int LinkAt(const char* from, const char* to, int flags) {
    return Faulted(FileCall::Link, to) ? -1 : ::linkat(AT_FDCWD, from, AT_FDCWD, to, flags);
}

int Rename(const char* from, const char* to) {
    return Faulted(FileCall::Rename, to) ? -1 : ::rename(from, to);
}

int RenameNoReplace(const char* from, const char* to) {
    return Faulted(FileCall::Rename, to) ? -1 : ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int Remove(const char* path) {
    return Faulted(FileCall::Remove, path) ? -1 : ::unlink(path);
}

int RemoveAt(int dirfd, const char* name, const char* path) {
    return Faulted(FileCall::Remove, path) ? -1 : ::unlinkat(dirfd, name, 0);
}

int Lock(int fd, int operation) {
    return Faulted(FileCall::Lock) ? -1 : ::flock(fd, operation);
}

}  // namespace filecalls
