#pragma once
#include <string>

#include "files/FileLock.h"

// One running Drovix per program folder: two installations, or two test folders, never block
// each other. What counts is the kernel's lock on "Drovix.lock" in the folder, not the file: the
// lock goes with the object, and with the process however it ends, so a kill or a power cut
// while it is being taken leaves at most an empty file, which blocks no later run.
class SingleInstance {
  public:
    enum class Outcome {
        First,           // the lock is ours: run
        AlreadyRunning,  // another Drovix holds it
        Failed,          // the folder cannot hold the lock; Error() says why
    };

    explicit SingleInstance(const std::string& programDir);
    // Removes the file while it is still locked: a start that opened it meanwhile sees, once it
    // holds the lock, that the name no longer names its file, and takes a new one.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Outcome State() const { return outcome_; }
    const std::string& Error() const { return error_; }

  private:
    std::string path_;
    ExclusiveFileLock lock_{ExclusiveFileLock::Against::LockingPrograms};
    Outcome outcome_ = Outcome::Failed;
    std::string error_;
};
