#pragma once
#include <string>

// An exclusive advisory lock (flock) on an existing file: on this platform that is how a program
// such as Stillbeacon says it is writing a file, and how Drovix keeps it from appending to a day
// file between Drovix's read of it and its replacement. The lock is held for the life of the
// object; it is released when the object goes, or by the system when the process ends.
class ExclusiveFileLock {
  public:
    enum class Outcome {
        Locked,   // held, and the path still names the locked file
        Missing,  // there is no file of that name
        InUse,    // another open file holds a lock on it
        Failed,   // anything else; error says why
    };

    ExclusiveFileLock() = default;
    ~ExclusiveFileLock() { Unlock(); }
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    // Takes the lock without waiting. Exclusive, because the holder means to replace the file:
    // a shared lock would let a second writer read the same old content and drop the first
    // one's lines.
    Outcome TryLock(const std::string& path, std::string* error = nullptr);
    void Unlock();

  private:
    int fd_ = -1;
};
