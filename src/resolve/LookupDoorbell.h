#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>

// Lets the dispatcher sleep until a worker has an answer, instead of looking at every slot on a
// fixed beat. Workers ring after they have set status Finished; the dispatcher notes the count
// before it looks at the slots, so a ring that comes while it looks is not lost.
class LookupDoorbell {
  public:
    void Ring();
    unsigned Rings() const;
    // Blocks until the count differs from seen or the time is up; true when it rang.
    bool WaitForRing(unsigned seen, std::chrono::milliseconds limit);

  private:
    mutable std::mutex lock_;
    std::condition_variable rung_;
    unsigned rings_ = 0;
};
