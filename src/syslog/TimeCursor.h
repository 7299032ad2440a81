#pragma once
#include <algorithm>
#include <cstddef>
#include <limits>
#include <vector>

// A place in a list of times in order, for lookups that mostly move forward, as a day file's lines
// come nearly in time order: the search goes on from the last place, and starts afresh only when a
// lookup goes back.
class TimeCursor {
  public:
    explicit TimeCursor(const std::vector<long long>& times) : times_(times) {}

    // The first place whose time is at or after from (the end when none is).
    std::size_t Seek(long long from) {
        if (from < from_) {
            at_ = static_cast<std::size_t>(std::lower_bound(times_.begin(), times_.end(), from) -
                                           times_.begin());
        } else {
            while (at_ < times_.size() && times_[at_] < from) ++at_;
        }
        from_ = from;
        return at_;
    }

  private:
    const std::vector<long long>& times_;
    std::size_t at_ = 0;
    long long from_ = std::numeric_limits<long long>::min();
};
