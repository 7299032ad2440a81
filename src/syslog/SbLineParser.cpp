#include "syslog/SbLineParser.h"

#include <algorithm>
#include <array>
#include <string>

#include "text/SysLogText.h"

using namespace syslogtext;

namespace {

using R = SysLogRecord;
constexpr size_t npos = std::string_view::npos;

bool IsStatusLine(std::string_view dir) {
    return dir == "S" || dir == "E";
}

std::string_view ToSeconds(std::string_view time) {
    return time.substr(0, 8);
}

// The fields are cut as views of the line; only a field the reader changes is copied, into room
// the record keeps from line to line: reading a file's lines allocates next to nothing.

// Blank form: seven tokens cut at single blanks into date, time, direction, remote, remote port,
// local address and local port; anything after the seventh is ignored.
using BlankTokens = std::array<std::string_view, 7>;
bool CutBlankForm(std::string_view line, BlankTokens& tokens) {
    const size_t last = tokens.size() - 1;
    size_t k = 0, start = 0;
    for (size_t i = 0; i < line.size() && k < last; ++i) {
        if (line[i] != ' ') continue;
        tokens[k++] = line.substr(start, i - start);
        start = i + 1;
    }
    if (k < last) return false;
    tokens[last] = line.substr(start, line.find(' ', start) - start);
    return true;
}

// The remote token: address and name, one of them in parentheses after the other, then
// optionally NBSP protocol and NBSP message. "!" stands for a name Stillbeacon did not find.
void SplitRemoteToken(std::string_view s, SbLineFields& record) {
    auto& f = record.f;
    const size_t p1 = s.find(NbspChar);
    if (p1 != npos) {
        const size_t p2 = s.find(NbspChar, p1 + 1);
        if (p2 != npos) {
            f[R::Message] = s.substr(p2 + 1);
            f[R::Prot] = s.substr(p1 + 1, p2 - p1 - 1);
        } else {
            AssignLowerCase(record.protocolRoom, s.substr(p1 + 1));
            f[R::Prot] = record.protocolRoom;
        }
        s = s.substr(0, p1);
    }
    // A lone "!" is written as "(!)", so it reads as the name in parentheses.
    const size_t bang = s.find('!');
    if (bang != npos && s.find("(!)") == npos) s = record.remoteRoom.assign(s).replace(bang, 1, "(!)");

    std::string_view address, name;
    const size_t open = s.find('(');
    const size_t close = open == npos ? npos : s.find(')', open + 1);
    if (close == npos) {
        (IsIPAddress(s) ? address : name) = s;
    } else if (IsIPAddress(s.substr(0, open))) {
        address = s.substr(0, open);
        name = s.substr(open + 1, close - open - 1);
    } else {
        address = s.substr(open + 1, close - open - 1);
        name = s.substr(0, open);
    }
    if (address == "!" || address == "(!)") address = {};
    if (name == "!") name = {};
    f[R::RemAddr] = address;
    f[R::RemURL] = name;
}

bool ParseBlankForm(std::string_view line, SbLineFields& record) {
    auto& f = record.f;
    BlankTokens t;
    if (!CutBlankForm(line, t)) return false;
    const std::string_view date = t[0], time = ToSeconds(t[1]), dir = t[2];
    if (IsStatusLine(dir)) return false;
    f[R::Date] = date;
    f[R::Time] = time;
    f[R::Dir] = dir;
    if (dir == "M") {
        f[R::Message] = t[3];
        return true;
    }
    SplitRemoteToken(t[3], record);
    if (date.empty() || time.empty() || dir.empty()) return false;
    // "." is what Stillbeacon writes for a value it did not record.
    f[R::RPort] = t[4] == "." ? std::string_view() : t[4];
    f[R::LocalAddr] = t[5];
    f[R::LPort] = t[6];
    for (const int i : {R::RemAddr, R::RemURL})
        if (f[i] == ".") f[i] = {};
    // An event without a remote party (a spoofing notice) still names its protocol.
    return !f[R::RemAddr].empty() || !f[R::RemURL].empty() || !f[R::Message].empty() || !f[R::Prot].empty();
}

// Tab form: date, time, direction, protocol, remote address, remote name, remote port, local
// address, local port: the first nine fields of the record in the record's own order.
bool ParseTabForm(std::string_view line, SbLineFields& record) {
    std::array<std::string_view, R::LPort + 1> fields;
    size_t start = 0;
    for (size_t k = 0; k < fields.size(); ++k) {
        const size_t tab = line.find('\t', start);
        if (tab == npos && k + 1 < fields.size()) return false;
        fields[k] = line.substr(start, tab == npos ? npos : tab - start);
        start = tab == npos ? line.size() : tab + 1;
    }
    fields[R::Time] = ToSeconds(fields[R::Time]);
    if (IsStatusLine(fields[R::Dir])) return false;
    if (fields[R::Dir] == "M") {
        record.f[R::Message] = fields[R::RemURL];
        fields[R::RemURL] = {};
    }
    std::copy(fields.begin(), fields.end(), record.f.begin());
    return true;
}

}  // namespace

bool SysLogParse(std::string_view line, SbLineFields& record) {
    if (Trim(line).empty()) return false;
    for (int i = 0; i <= R::Message; ++i) record.f[static_cast<size_t>(i)] = {};
    const bool tabForm = line.size() > 10 && line[10] == '\t';
    return tabForm ? ParseTabForm(line, record) : ParseBlankForm(line, record);
}

bool SysLogParse(std::string_view line, SysLogRecord& record) {
    if (Trim(line).empty()) return false;
    SbLineFields fields;
    const bool parsed = SysLogParse(line, fields);
    for (int i = 0; i <= R::Message; ++i) record[i].assign(fields[i]);
    return parsed;
}
