#pragma once
#include <QTemporaryDir>
#include <string>

// Whole-file helpers for tests: bytes in, bytes out, no text conversion.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

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
