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
    const size_t w = Find(line, " WAN", 1);
    if (w == 0) return;
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
std::string_view TakeDateAndTime(std::string_view line, SysLogRecord& r) {
    if (line.size() < 3 || line[2] != ':') {
        r[SysLogRecord::Date].assign(Mid(line, 1, 10));
        r[SysLogRecord::Time].assign(Mid(line, 12, 8));
        return Trim(Mid(line, 21));
    }
    r[SysLogRecord::Date].assign("0000-00-00");
    const size_t b = Find(line, " ", 1);
    // Without a blank right after the time, the time is its eight characters and the rest follows.
    const bool blankAfterTime = b > 0 && b <= 10;
    r[SysLogRecord::Time].assign(line.substr(0, std::min<size_t>(blankAfterTime ? b - 1 : line.size(), 8)));
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

void AssignJoinedTrimmed(std::string& joined, std::string_view a, std::string_view b, std::string_view c) {
    joined.assign(a).append(" ").append(b).append(" ").append(c);
    const std::string_view trimmed = Trim(joined);
    if (trimmed.size() == joined.size()) return;
    if (trimmed.empty()) {
        joined.clear();
        return;
    }
    const size_t first = static_cast<size_t>(trimmed.data() - joined.data());
    joined.resize(first + trimmed.size());
    joined.erase(0, first);
}

// "PROT from source to destination message", "PROT to destination message", or a message.
void ReadGrammar(const Words& w, std::string_view rest, std::string_view lanPrefix,
                 std::string_view wanAddress, SysLogRecord& r) {
    std::string& local = r[SysLogRecord::LocalAddr];
    std::string& message = r[SysLogRecord::Message];
    if (w[1] == "from" || w[1] == "to") AssignLowerCase(r[SysLogRecord::Prot], w[0]);
    if (w[1] == "from") {
        r[SysLogRecord::RemAddr].assign(w[2]);
        if (w[3] == "to") {
            local.assign(w[4]);
            message.assign(w[5]);
        } else {
            AssignJoinedTrimmed(message, w[3], w[4], w[5]);
        }
    } else if (w[1] == "to") {
        local.assign(w[2]);
        AssignJoinedTrimmed(message, w[3], w[4], w[5]);
        // A destination that is not ours is the remote party.
        if (!BeginsWithPrefix(local, lanPrefix) && !IsThatAddress(local, wanAddress)) {
            r[SysLogRecord::RemAddr].swap(local);
            local.clear();
        }
    } else if (EqualsNoCase(rest.substr(0, 4), "@sys")) {
        message.assign(Trim(rest.substr(4)));
    } else {
        message.assign(rest);
    }
    std::string& prot = r[SysLogRecord::Prot];
    const size_t slash = prot.find('/');
    if (slash != std::string::npos) prot.erase(0, slash + 1);
}

// So far RemAddr holds the source; a source of ours makes the record outbound.
void SetDirection(const Words& w, std::string_view lanPrefix, std::string_view wanAddress, SysLogRecord& r) {
    std::string& rem = r[SysLogRecord::RemAddr];
    std::string& local = r[SysLogRecord::LocalAddr];
    if (BeginsWithPrefix(rem, lanPrefix) || IsThatAddress(rem, wanAddress)) {
        r[SysLogRecord::Dir].assign("O");
        rem.swap(local);
    } else if (w[1] != "to" && rem.empty()) {
        r[SysLogRecord::Dir].assign("O");
        rem.swap(local);
        local.clear();
    } else {
        r[SysLogRecord::Dir].assign("I");
    }
}

// "address:port" into the two fields.
void SplitPort(std::string& address, std::string& port) {
    const size_t colon = address.find(':');
    if (colon == std::string::npos) return;
    port.assign(address, colon + 1);
    address.resize(colon);
}

// "name(1.2.3.4)" or "1.2.3.4(name)" into address and name.
void SplitName(std::string& address, std::string& name) {
    const size_t open = address.find('(');
    if (open == std::string::npos) return;
    const size_t close = address.find(')', open + 1);
    name.assign(address, open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    address.resize(open);
    if (IsIPAddress(name)) address.swap(name);
}

// A line without a dotted address on either side is a message: the whole text after the time.
void MakeMessageUnlessAddressed(std::string_view rest, SysLogRecord& r) {
    if (IsIPAddress(r[SysLogRecord::RemAddr]) || IsIPAddress(r[SysLogRecord::LocalAddr])) return;
    r[SysLogRecord::Dir].assign("M");
    for (int i = SysLogRecord::RemAddr; i <= SysLogRecord::LPort; ++i) r[i].clear();
    r[SysLogRecord::Message].assign(rest);
    // The one message that reports an attack from outside.
    if (EqualsNoCase(r[SysLogRecord::Message], "icmp ip spoofing detected")) {
        r[SysLogRecord::Dir].assign("I");
        r[SysLogRecord::Prot].assign("icmp");
        r[SysLogRecord::Message].erase(0, 5);
    }
}

}  // namespace

void ParseRouterLineInto(std::string_view line, std::string_view lanPrefix, std::string& wanAddress,
                         SysLogRecord& r) {
    LearnWanAddress(line, wanAddress);
    for (std::string& field : r.f) field.clear();
    r[SysLogRecord::RowTag].assign("R");
    const std::string_view rest = TakeDateAndTime(line, r);
    const Words w = RouterWords(rest);
    ReadGrammar(w, rest, lanPrefix, wanAddress, r);
    SetDirection(w, lanPrefix, wanAddress, r);
    SplitPort(r[SysLogRecord::RemAddr], r[SysLogRecord::RPort]);
    SplitName(r[SysLogRecord::RemAddr], r[SysLogRecord::RemURL]);
    SplitPort(r[SysLogRecord::LocalAddr], r[SysLogRecord::LPort]);
    MakeMessageUnlessAddressed(rest, r);
}

SysLogRecord ParseRouterLine(std::string_view line, std::string_view lanPrefix, std::string& wanAddress) {
    SysLogRecord r;
    ParseRouterLineInto(line, lanPrefix, wanAddress, r);
    return r;
}
