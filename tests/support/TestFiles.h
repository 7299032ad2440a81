#pragma once
#include <sys/resource.h>
#include <QTemporaryDir>

#include <map>
#include <string>

// Whole-file helpers for tests: bytes in, bytes out, no text conversion.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
// The files of a folder (not its subfolders) by name, with their bytes.
std::map<std::string, std::string> FilesIn(const std::string& folder);

// A fresh temporary folder whose path ends with the separator, removed with the object.
class TempFolder {
  public:
    TempFolder();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

  private:
    QTemporaryDir dir_;
    std::string path_;
};

// While it lives, files this process writes cannot grow past bytes: a write crossing the limit
// comes back short, then fails, as on a full disk (the signal that would end the process is
// ignored meanwhile).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};
