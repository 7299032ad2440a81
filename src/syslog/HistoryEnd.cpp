#include "syslog/HistoryEnd.h"

#include "syslog/RouterDate.h"

void HistoryEnd::Add(std::string_view line) {
    ++lines_;
    if (!IsUndated(line)) {
        const std::string_view stamp = line.substr(0, 19);
        if (stamp != lastStamp_) {
            lastStamp_.assign(stamp);
            kept_ = counted_ = 0;
            lastSecond_.clear();
            lastSecondLeft_ = 0;
        }
    }
    if (kept_ == lastSecondLines_.size()) lastSecondLines_.emplace_back();
    lastSecondLines_[kept_++].assign(line);
}

void HistoryEnd::CountLastSecond() {
    for (; counted_ < kept_; ++counted_) {
        const std::string& line = lastSecondLines_[counted_];
        auto copies = lastSecond_.find(line);
        if (copies == lastSecond_.end()) copies = lastSecond_.emplace(line, 0).first;
        ++copies->second;
        ++lastSecondLeft_;
    }
}

bool HistoryEnd::UseUpCopy(std::string_view line) {
    CountLastSecond();
    const auto copy = lastSecond_.find(line);
    if (copy == lastSecond_.end() || copy->second == 0) return false;
    --copy->second;
    --lastSecondLeft_;
    return true;
}

HistoryEnd::Place HistoryEnd::Locate(const std::string& line, const std::string& firstStamp) {
    if (Empty()) return Place::New;
    const bool undated = IsUndated(line);
    if (!undated) routerStamp_.assign(line, 0, 19);
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
