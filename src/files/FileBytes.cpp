#include "files/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileDevice>
#include <cerrno>
#include <cstring>

#include "files/FileReplacement.h"
#include "files/SystemCalls.h"

namespace {

FileRead Failed(QFileDevice::FileError kind, std::string why) {
    return {FileRead::Outcome::Failed, std::move(why), static_cast<int>(kind)};
}

FileRead ReadFailed() {
    return Failed(QFileDevice::ReadError, std::strerror(errno));
}

// Reads from the start into the caller's buffer in one go, so a buffer used again keeps its room.
// One too small is replaced rather than grown: growing copies the old bytes and may take twice the
// room.
FileRead ReadWhole(int fd, std::string& bytes) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return ReadFailed();
    const auto size = static_cast<std::size_t>(st.st_size);
    if (size > bytes.capacity()) std::string().swap(bytes);
    bytes.resize(size);
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = filecalls::ReadAt(fd, bytes.data() + got, size - got, static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ReadFailed();
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    // A file that grows while it is read (Stillbeacon appending) is read to its end.
    char more[16384];
    for (;;) {
        const ssize_t n = filecalls::ReadAt(fd, more, sizeof more, static_cast<off_t>(bytes.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ReadFailed();
        if (n == 0) break;
        bytes.append(more, static_cast<std::size_t>(n));
    }
    return {FileRead::Outcome::Bytes, {}, 0};
}

}  // namespace

FileRead ReadFileBytes(const std::string& path, std::string& bytes) {
    const int fd = filecalls::Open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return {FileRead::Outcome::Missing, {}, 0};
        return Failed(QFileDevice::OpenError, std::strerror(errno));
    }
    struct stat st {};
    FileRead read;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        read = Failed(QFileDevice::OpenError, "file to open is a directory");
    } else {
        read = ReadWhole(fd, bytes);
    }
    ::close(fd);
    return read;
}

FileRead ReadOpenFile(int fd, std::string& bytes) {
    return ReadWhole(fd, bytes);
}

bool SaveFileAtomically(const std::string& path, std::string_view bytes, std::string* error,
                        int* errorNumber) {
    FileReplacement replacement(path);
    return replacement.Write(bytes, error, errorNumber) && replacement.Replace(error, errorNumber);
}

Creation CreateFileOnly(const std::string& path, std::string_view bytes, std::string* error,
                        int* errorNumber) {
    FileReplacement creation(path);
    if (!creation.Write(bytes, error, errorNumber)) return Creation::Failed;
    switch (creation.CreateOnly(error, errorNumber)) {
        case FileReplacement::Created::Yes:
            return Creation::Created;
        case FileReplacement::Created::NameTaken:
            return Creation::NameTaken;
        case FileReplacement::Created::Failed:
            break;
    }
    return Creation::Failed;
}

Removal RemoveFile(const std::string& path, std::string* error) {
    if (filecalls::Remove(path.c_str()) == 0) return Removal::Removed;
    if (errno == ENOENT) return Removal::Missing;
    if (error) *error = std::strerror(errno);
    return Removal::Failed;
}
