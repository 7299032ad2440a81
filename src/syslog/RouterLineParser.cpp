#include "syslog/RouterLineParser.h"

#include <algorithm>
#include <array>
#include <utility>

#include "text/SysLogText.h"

using namespace syslogtext;

namespace {

using Words = std::array<std::string_view, 6>;

// "... WAN IP address is 203.0.113.7": the router tells its own WAN address in passing.
void LearnWanAddress(std::string_view line, std::string& wanAddress) {
    // " WAN" found from its rare "W" on: most lines have no "W", but blanks all through.
    size_t w = line.find("WAN", 1);
    while (w != std::string_view::npos && line[w - 1] != ' ') w = line.find("WAN", w + 1);
    if (w == std::string_view::npos) return;  // else w is the blank's position counted from 1
    const size_t s = Find(LowerCase(std::string(line)), " is ", w + 4);
    if (s == 0) return;
    const std::string_view address = Trim(Mid(line, s + 4));
    if (IsAddress(address)) wanAddress = std::string(address);
}

// An empty prefix would match every address; with no LAN prefix known nothing is local.
bool BeginsWithPrefix(std::string_view text, std::string_view prefix) {
    return !prefix.empty() && text.starts_with(prefix);
}

// Whether text is the given address, possibly followed by ":port" or "(name)". A plain prefix
// test would take 24.1.1.10 for the WAN address 24.1.1.1; an empty address is nobody's.
bool IsThatAddress(std::string_view text, std::string_view address) {
    if (address.empty() || !text.starts_with(address)) return false;
    if (text.size() == address.size()) return true;
    const char next = text[address.size()];
    return (next < '0' || next > '9') && next != '.';
}

// Date and time into the record; returns the rest of the line. A line that starts with a time
// carries no date.
std::string_view TakeDateAndTime(std::string_view line, SysLogRecordView& r) {
    if (line.size() < 3 || line[2] != ':') {
        r[SysLogRecord::Date] = Mid(line, 1, 10);
        r[SysLogRecord::Time] = Mid(line, 12, 8);
        return Trim(Mid(line, 21));
    }
    r[SysLogRecord::Date] = "0000-00-00";
    const size_t b = Find(line, " ", 1);
    // Without a blank right after the time, the time is its eight characters and the rest follows.
    const bool blankAfterTime = b > 0 && b <= 10;
    r[SysLogRecord::Time] = line.substr(0, std::min<size_t>(blankAfterTime ? b - 1 : line.size(), 8));
    return Trim(Mid(line, blankAfterTime ? b : 9));
}

// The first five words of rest and the remainder. Words starting with "@" ("@sys") are skipped;
// several blanks in a row give an empty word, as the routers' own lines expect.
Words RouterWords(std::string_view rest) {
    Words words{};
    size_t p = 0;
    for (size_t i = 0; i < 5;) {
        size_t n = Find(rest, " ", p + 2);
        if (n == 0) n = rest.size() + 1;
        const std::string_view word = Trim(Mid(rest, p + 1, n - p));
        p = n;
        if (word.starts_with('@')) continue;  // p has moved on, so this ends
        words[i++] = word;
    }
    words[5] = Trim(Mid(rest, p + 1));
    return words;
}

// The three texts joined by blanks, without the blanks at either end, in joined's room.
std::string_view JoinTrimmed(std::string_view a, std::string_view b, std::string_view c,
                             std::string& joined) {
    joined.assign(a).append(" ").append(b).append(" ").append(c);
    return Trim(joined);
}

// "PROT from source to destination message", "PROT to destination message", or a message. The
// protocol in lower case, and a message joined from words, are made in the rooms given.
void ReadGrammar(const Words& w, std::string_view rest, std::string_view lanPrefix,
                 std::string_view wanAddress, SysLogRecordView& r, std::string& protRoom,
                 std::string& messageRoom) {
    std::string_view& local = r[SysLogRecord::LocalAddr];
    std::string_view& message = r[SysLogRecord::Message];
    if (w[1] == "from" || w[1] == "to") {
        AssignLowerCase(protRoom, w[0]);
        r[SysLogRecord::Prot] = protRoom;
    }
    if (w[1] == "from") {
        r[SysLogRecord::RemAddr] = w[2];
        if (w[3] == "to") {
            local = w[4];
            message = w[5];
        } else {
            message = JoinTrimmed(w[3], w[4], w[5], messageRoom);
        }
    } else if (w[1] == "to") {
        local = w[2];
        message = JoinTrimmed(w[3], w[4], w[5], messageRoom);
        // A destination that is not ours is the remote party.
        if (!BeginsWithPrefix(local, lanPrefix) && !IsThatAddress(local, wanAddress))
            r[SysLogRecord::RemAddr] = std::exchange(local, {});
    } else if (EqualsNoCase(rest.substr(0, 4), "@sys")) {
        message = Trim(rest.substr(4));
    } else {
        message = rest;
    }
    std::string_view& prot = r[SysLogRecord::Prot];
    const size_t slash = prot.find('/');
    if (slash != std::string_view::npos) prot.remove_prefix(slash + 1);
}

// So far RemAddr holds the source; a source of ours makes the record outbound.
void SetDirection(const Words& w, std::string_view lanPrefix, std::string_view wanAddress,
                  SysLogRecordView& r) {
    std::string_view& rem = r[SysLogRecord::RemAddr];
    std::string_view& local = r[SysLogRecord::LocalAddr];
    if (BeginsWithPrefix(rem, lanPrefix) || IsThatAddress(rem, wanAddress)) {
        r[SysLogRecord::Dir] = "O";
        std::swap(rem, local);
    } else if (w[1] != "to" && rem.empty()) {
        r[SysLogRecord::Dir] = "O";
        rem = std::exchange(local, {});
    } else {
        r[SysLogRecord::Dir] = "I";
    }
}

// "address:port" into the two fields.
void SplitPort(std::string_view& address, std::string_view& port) {
    const size_t colon = address.find(':');
    if (colon == std::string_view::npos) return;
    port = address.substr(colon + 1);
    address = address.substr(0, colon);
}

// "name(1.2.3.4)" or "1.2.3.4(name)" into address and name.
void SplitName(std::string_view& address, std::string_view& name) {
    const size_t open = address.find('(');
    if (open == std::string_view::npos) return;
    const size_t close = address.find(')', open + 1);
    name =
        address.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
    address = address.substr(0, open);
    if (IsIPAddress(name)) std::swap(address, name);
}

// A line without a dotted address on either side is a message: the whole text after the time.
void MakeMessageUnlessAddressed(std::string_view rest, SysLogRecordView& r) {
    if (IsIPAddress(r[SysLogRecord::RemAddr]) || IsIPAddress(r[SysLogRecord::LocalAddr])) return;
    r[SysLogRecord::Dir] = "M";
    for (int i = SysLogRecord::RemAddr; i <= SysLogRecord::LPort; ++i) r[i] = {};
    r[SysLogRecord::Message] = rest;
    // The one message that reports an attack from outside.
    if (EqualsNoCase(rest, "icmp ip spoofing detected")) {
        r[SysLogRecord::Dir] = "I";
        r[SysLogRecord::Prot] = "icmp";
        r[SysLogRecord::Message].remove_prefix(5);
    }
}

}  // namespace

const SysLogRecordView& RouterLineReader::Read(std::string_view line, std::string_view lanPrefix,
                                               std::string& wanAddress) {
    LearnWanAddress(line, wanAddress);
    SysLogRecordView& r = fields_;
    r = {};
    r[SysLogRecord::RowTag] = "R";
    const std::string_view rest = TakeDateAndTime(line, r);
    const Words w = RouterWords(rest);
    ReadGrammar(w, rest, lanPrefix, wanAddress, r, prot_, message_);
    SetDirection(w, lanPrefix, wanAddress, r);
    SplitPort(r[SysLogRecord::RemAddr], r[SysLogRecord::RPort]);
    SplitName(r[SysLogRecord::RemAddr], r[SysLogRecord::RemURL]);
    SplitPort(r[SysLogRecord::LocalAddr], r[SysLogRecord::LPort]);
    MakeMessageUnlessAddressed(rest, r);
    return r;
}

SysLogRecord ParseRouterLine(std::string_view line, std::string_view lanPrefix, std::string& wanAddress) {
    RouterLineReader reader;
    return reader.Read(line, lanPrefix, wanAddress).Record();
}
