#pragma once
#include <string_view>

#include "files/FileBytes.h"

// The bytes of a file the caller holds open, mapped read-only from the system's cache instead of
// copied: a large file is read without fresh memory for a copy of it. Only for a file nobody can
// shorten while it is mapped (one held under a write lease): the bytes of a mapped file cut short
// are gone from under the reader, and touching them kills the process.
class MappedFile {
  public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the whole of the open file as it is now; an empty file maps to no bytes.
    FileRead Map(int fd);
    std::string_view Bytes() const { return {static_cast<const char*>(start_), size_}; }

  private:
    void* start_ = nullptr;
    std::size_t size_ = 0;
};
