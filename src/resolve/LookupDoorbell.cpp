#include "resolve/LookupDoorbell.h"

void LookupDoorbell::Ring() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        ++rings_;
    }
    rung_.notify_one();
}

unsigned LookupDoorbell::Rings() const {
    std::lock_guard<std::mutex> guard(lock_);
    return rings_;
}

bool LookupDoorbell::WaitForRing(unsigned seen, std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> guard(lock_);
    return rung_.wait_for(guard, limit, [&] { return rings_ != seen; });
}
