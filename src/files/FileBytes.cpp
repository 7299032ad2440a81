#include "files/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileDevice>
#include <algorithm>
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

FileRead ReadPieces(int fd, std::string& buffer, std::size_t pieceSize,
                    const std::function<bool(std::string_view)>& take) {
    pieceSize = std::max<std::size_t>(pieceSize, 1);
    std::size_t held = 0;  // the start of a line the last piece did not finish
    off_t at = 0;
    for (;;) {
        if (buffer.size() < held + pieceSize) buffer.resize(held + pieceSize);
        const ssize_t n = filecalls::ReadAt(fd, buffer.data() + held, pieceSize, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return ReadFailed();
        if (n == 0) {
            if (held > 0) take(std::string_view(buffer.data(), held));
            return {FileRead::Outcome::Bytes, {}, 0};
        }
        at += n;
        const std::size_t filled = held + static_cast<std::size_t>(n);
        const void* lastFeed = ::memrchr(buffer.data(), '\n', filled);
        if (!lastFeed) {
            held = filled;  // a line longer than a piece: the next read goes on with it
            continue;
        }
        const auto end = static_cast<std::size_t>(static_cast<const char*>(lastFeed) - buffer.data()) + 1;
        if (!take(std::string_view(buffer.data(), end))) return {FileRead::Outcome::Bytes, {}, 0};
        held = filled - end;
        std::memmove(buffer.data(), buffer.data() + end, held);
    }
}

// Opens path for reading and hands the descriptor to read; a missing file, a folder and a file
// that cannot be opened are told apart.
FileRead WithOpenFile(const std::string& path, const std::function<FileRead(int)>& read) {
    const int fd = filecalls::Open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return {FileRead::Outcome::Missing, {}, 0};
        return Failed(QFileDevice::OpenError, std::strerror(errno));
    }
    struct stat st {};
    FileRead result;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        result = Failed(QFileDevice::OpenError, "file to open is a directory");
    } else {
        result = read(fd);
    }
    ::close(fd);
    return result;
}

}  // namespace

FileRead ReadFileBytes(const std::string& path, std::string& bytes) {
    return WithOpenFile(path, [&](int fd) { return ReadWhole(fd, bytes); });
}

FileRead ReadFileInPieces(const std::string& path, std::string& buffer, std::size_t pieceSize,
                          const std::function<bool(std::string_view)>& take) {
    return WithOpenFile(path, [&](int fd) { return ReadPieces(fd, buffer, pieceSize, take); });
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
