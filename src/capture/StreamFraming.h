#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Cuts a syslog stream over TCP into messages, as bytes arrive in pieces of any size. A sender
// either counts octets ("LEN MSG", each message preceded by its length and a blank) or ends each
// message with a line feed; each message is told which way it came by its first byte. A message
// longer than the limit is cut to it and the rest skipped, so one connection never holds more than
// the limit, whatever it sends.
class SyslogStreamFramer {
  public:
    // message: the bytes (a line feed and a carriage return before it removed); cut: it was longer.
    using Emit = std::function<void(std::string_view message, bool cut)>;

    explicit SyslogStreamFramer(size_t limit) : limit_(limit) { buffer_.reserve(limit); }

    void Feed(std::string_view bytes, const Emit& emit);
    // The connection ended: a last line without its line feed is still a message; a counted
    // message that did not arrive whole is not.
    void Finish(const Emit& emit);

  private:
    enum class State { Start, Length, Counted, Line };
    void Keep(char c);
    void Deliver(const Emit& emit);

    size_t limit_;
    State state_ = State::Start;
    std::string buffer_;
    size_t remaining_ = 0;  // bytes still to come of a counted message
    bool cut_ = false;
};
