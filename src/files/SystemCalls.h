#pragma once
#include <sys/types.h>

// The system calls of the file module, for src/files alone. Each is the system call of its name,
// unless a fault is in place for it (files/FileFaults.h): it then fails with -1 and that errno.
namespace filecalls {

int Open(const char* path, int flags, mode_t mode = 0);
ssize_t Read(int fd, void* buffer, size_t size);
ssize_t ReadAt(int fd, void* buffer, size_t size, off_t offset);
ssize_t Write(int fd, const void* bytes, size_t size);
int Truncate(int fd, off_t size);
int DataSync(int fd);
// linkat(AT_FDCWD, from, AT_FDCWD, to, flags) and link(from, to).
int LinkAt(const char* from, const char* to, int flags);
int Rename(const char* from, const char* to);
// Renames only while no file has the name to (renameat2 with RENAME_NOREPLACE).
int RenameNoReplace(const char* from, const char* to);
int Remove(const char* path);
// unlinkat(dirfd, name, 0); path names the file for the faults.
int RemoveAt(int dirfd, const char* name, const char* path);
int Lock(int fd, int operation);

}  // namespace filecalls
