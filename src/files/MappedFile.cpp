#include "files/MappedFile.h"

#include <sys/mman.h>
#include <sys/stat.h>

#include <QFileDevice>
#include <cerrno>
#include <cstring>

MappedFile::~MappedFile() {
    if (start_) ::munmap(start_, size_);
}

FileRead MappedFile::Map(int fd) {
    const auto failed = [] {
        return FileRead{FileRead::Outcome::Failed, std::strerror(errno),
                        static_cast<int>(QFileDevice::ReadError)};
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0) return failed();
    if (st.st_size == 0) return {FileRead::Outcome::Bytes, {}, 0};
    const auto size = static_cast<std::size_t>(st.st_size);
    void* start = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (start == MAP_FAILED) return failed();
    start_ = start;
    size_ = size;
    return {FileRead::Outcome::Bytes, {}, 0};
}
