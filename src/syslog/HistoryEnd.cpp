#include "syslog/HistoryEnd.h"

#include "syslog/RouterDate.h"

void HistoryEnd::Add(const std::string& line) {
    ++lines_;
    if (!IsUndated(line)) {
        std::string stamp = line.substr(0, 19);
        if (stamp != lastStamp_) {
            lastStamp_ = std::move(stamp);
            lastSecond_.clear();
            lastSecondLeft_ = 0;
        }
    }
    ++lastSecond_[line];
    ++lastSecondLeft_;
}

bool HistoryEnd::UseUpCopy(const std::string& line) {
    const auto copy = lastSecond_.find(line);
    if (copy == lastSecond_.end() || copy->second == 0) return false;
    --copy->second;
    --lastSecondLeft_;
    return true;
}

HistoryEnd::Place HistoryEnd::Locate(const std::string& line, const std::string& firstStamp) {
    if (Empty()) return Place::New;
    const bool undated = IsUndated(line);
    if (!undated) routerStamp_ = line.substr(0, 19);
    if (undated && routerStamp_.empty()) {
        // Written before the router's first dated line: the history holds it when it ended with
        // it (the router had not set its clock yet at the last refresh). Otherwise it is new when
        // all the router's dated lines are newer than the history: its log began anew since.
        if (UseUpCopy(line)) return lastSecondLeft_ == 0 ? Place::LastStored : Place::Stored;
        return firstStamp > lastStamp_ ? Place::NewAfterRestart : Place::Stored;
    }
    if (routerStamp_ < lastStamp_) return Place::Stored;
    if (routerStamp_ > lastStamp_) return Place::New;
    if (UseUpCopy(line)) return lastSecondLeft_ == 0 ? Place::LastStored : Place::Stored;
    return Place::New;
}
