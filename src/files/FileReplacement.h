#pragma once
#include <sys/types.h>

#include <string>
#include <string_view>

// A new version of a file, written whole beside it and then put in its place in one step, so a
// crash, a kill or a full disk leaves either the old file or the new one, never a part of one.
// The new file keeps the old one's permissions and, where the system allows, its owner: the
// program that writes the file goes on being able to. A symbolic link is followed: its target is
// replaced. Failures come with the file device's error code (a QFileDevice::FileError).
class FileReplacement {
  public:
    explicit FileReplacement(const std::string& path);
    // A written file that was never put in place is removed.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Writes bytes to the new file and flushes them to disk. The new file has no name of its own
    // until it is put in place where the file system allows that; otherwise it is named by the
    // file's name and ".drovix-" and six letters or digits.
    bool Write(std::string_view bytes, std::string* error, int* errorNumber);

    // The same in parts, for bytes that are never held whole: Begin makes the new file, Append
    // adds to it (as often as needed), Finish flushes it to disk. StartOver empties it again.
    bool Begin(std::string* error, int* errorNumber);
    bool Append(std::string_view bytes, std::string* error, int* errorNumber);
    bool StartOver(std::string* error, int* errorNumber);
    bool Finish(std::string* error, int* errorNumber);

    // Renames the written file over the file (or to its name when there is none).
    bool Replace(std::string* error, int* errorNumber);

    // Puts the written file in place only while no file has the name: a file that appeared since
    // the caller looked is never overwritten (NameTaken, nothing changed).
    enum class Created { Yes, NameTaken, Failed };
    Created CreateOnly(std::string* error, int* errorNumber);

  private:
    bool GiveTemporaryName(std::string* error, int* errorNumber);
    void Close();
    void SyncFolder() const;

    static constexpr off_t SendToDiskEvery = 1 << 20;

    std::string target_;    // the path, its symbolic links followed
    std::string tempName_;  // the new file's name while it has one
    int fd_ = -1;
    off_t appended_ = 0, sent_ = 0;  // bytes written, and those handed to the disk already
};

// Removes what saves of path that were killed half-way left beside it, in this program's naming
// and in the naming it used before. Only for a caller that holds path against every other writer
// (its lock): a save in progress looks the same as a leftover.
void RemoveSaveLeftovers(const std::string& path);
