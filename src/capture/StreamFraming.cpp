#include "capture/StreamFraming.h"

#include <algorithm>

namespace {

// Longer lengths are no octet count: the digits are then the start of a line.
constexpr size_t kMaxLengthDigits = 9;

}  // namespace

void SyslogStreamFramer::Keep(char c) {
    if (buffer_.size() < limit_) {
        buffer_ += c;
    } else {
        cut_ = true;
    }
}

void SyslogStreamFramer::Deliver(const Emit& emit) {
    std::string_view message = buffer_;
    if (!message.empty() && message.back() == '\r') message.remove_suffix(1);
    if (!message.empty()) emit(message, cut_);
    buffer_.clear();
    cut_ = false;
    state_ = State::Start;
}

void SyslogStreamFramer::Feed(std::string_view bytes, const Emit& emit) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        switch (state_) {
            case State::Start:
                if (c == '\n' || c == '\r' || c == ' ') break;  // blank space between messages
                state_ = c >= '1' && c <= '9' ? State::Length : State::Line;
                Keep(c);
                break;
            case State::Length:
                if (c >= '0' && c <= '9' && buffer_.size() < kMaxLengthDigits) {
                    buffer_ += c;
                } else if (c == ' ') {
                    remaining_ = std::stoul(buffer_);
                    buffer_.clear();
                    state_ = State::Counted;
                } else {
                    // Digits that do not count: a line that begins with them.
                    state_ = State::Line;
                    --i;
                }
                break;
            case State::Counted: {
                const size_t take = std::min(remaining_, bytes.size() - i);
                const size_t room = limit_ > buffer_.size() ? limit_ - buffer_.size() : 0;
                buffer_.append(bytes.substr(i, std::min(take, room)));
                if (take > room) cut_ = true;
                remaining_ -= take;
                i += take - 1;
                if (remaining_ == 0) Deliver(emit);
                break;
            }
            case State::Line:
                if (c == '\n') {
                    Deliver(emit);
                } else {
                    Keep(c);
                }
                break;
        }
    }
}

void SyslogStreamFramer::Finish(const Emit& emit) {
    if (state_ == State::Line || state_ == State::Length) Deliver(emit);
    buffer_.clear();
    cut_ = false;
    state_ = State::Start;
}
