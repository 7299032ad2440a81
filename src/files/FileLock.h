#pragma once
#include <string>

// Exclusive hold of an existing file that is about to be replaced. A program that writes the
// file while it is replaced writes into the old file, which is gone: its lines are lost. So the
// hold is taken only while no other open file is on it, whether or not its holder locks: an
// advisory lock (flock) keeps out the programs that use one (Stillbeacon while it writes, another
// Drovix), and a write lease both proves that nobody else has the file open and tells when someone
// opens it before the replacement. Where the file system has no leases, the open files of this
// computer's processes are looked through instead. A file of another user that this process may
// not lease (only the administrator may) is not held: that user's processes may be hidden from
// this one, and a replacement would take the file from them. The hold lasts for the life of the
// object; it is released when the object goes, or by the system when the process ends.
class ExclusiveFileLock {
  public:
    enum class Outcome {
        Locked,   // held, and the path still names the held file
        Missing,  // there is no file of that name
        InUse,    // another open file is on it
        Failed,   // anything else, the hold impossible; error says why
    };

    // Whom the hold keeps out. A file that is replaced must have no other opener at all; a lock
    // file that is only ever locked (the single-instance lock) needs the advisory lock alone, and a
    // lease on it would make every other opener wait until the lease times out.
    enum class Against { AnyOpener, LockingPrograms };

    explicit ExclusiveFileLock(Against against = Against::AnyOpener) : against_(against) {}
    ~ExclusiveFileLock() { Unlock(); }
    ExclusiveFileLock(const ExclusiveFileLock&) = delete;
    ExclusiveFileLock& operator=(const ExclusiveFileLock&) = delete;

    // Takes the hold without waiting. Exclusive, because the holder means to replace the file:
    // a shared lock would let a second writer read the same old content and drop the first
    // one's lines.
    Outcome TryLock(const std::string& path, std::string* error = nullptr);

    // Whether the file is still nobody else's: false once another process (or another open file
    // of this one) has opened it since the hold was taken. Asked just before the replacement.
    bool StillExclusive() const;

    // The held file, open for reading at its start.
    int Descriptor() const { return fd_; }

    // Whether the hold is a write lease: then nobody can open the file, nor shorten it, until the
    // hold ends or the lease's time to give way runs out.
    bool Leased() const { return leased_; }

    void Unlock();

  private:
    // The write lease (or, without leases, a look through the open files of this computer).
    Outcome KeepOutOtherOpeners(std::string* error);

    Against against_;
    int fd_ = -1;
    bool leased_ = false;
};

// Whether a process of this computer that this one may look into (its own user's, or any for the
// administrator) has the file open through another open file than fd's.
bool OpenElsewhere(int fd);
