#include "syslog/SbLineParser.h"

#include <algorithm>
#include <utility>

#include "text/SysLogText.h"

using namespace syslogtext;

namespace {

bool IsStatusLine(const std::string& dir) {
    return dir == "S" || dir == "E";
}

void KeepTimeToSeconds(SysLogRecord& record) {
    std::string& time = record[SysLogRecord::Time];
    time.resize(std::min<size_t>(time.size(), 8));
}

// Blank form: seven tokens cut at single blanks into date, time, direction, remote, remote port,
// local address and local port; anything after the seventh is ignored.
bool CutBlankForm(std::string_view line, SysLogRecord& record) {
    static constexpr int targets[7] = {SysLogRecord::Date,   SysLogRecord::Time,  SysLogRecord::Dir,
                                       SysLogRecord::RemURL, SysLogRecord::RPort, SysLogRecord::LocalAddr,
                                       SysLogRecord::LPort};
    size_t p = 0;
    for (int k = 0; k < 7; ++k) {
        size_t n = Find(line, " ", p + 1);
        if (n == 0) {
            if (k < 6) return false;
            n = line.size() + 1;
        }
        record[targets[k]].assign(Mid(line, p + 1, n - p - 1));
        p = n;
    }
    return true;
}

// The remote token: address and name, one of them in parentheses after the other, then
// optionally NBSP protocol and NBSP message. "!" stands for a name Stillbeacon did not find.
void SplitRemoteToken(SysLogRecord& record) {
    std::string s = std::move(record[SysLogRecord::RemURL]);
    const size_t p1 = s.find(NbspChar);
    if (p1 != std::string::npos) {
        const size_t p2 = s.find(NbspChar, p1 + 1);
        const std::string_view token(s);
        if (p2 != std::string::npos) {
            record[SysLogRecord::Message].assign(token.substr(p2 + 1));
            record[SysLogRecord::Prot].assign(token.substr(p1 + 1, p2 - p1 - 1));
        } else {
            std::string& prot = record[SysLogRecord::Prot];
            prot.assign(token.substr(p1 + 1));
            for (char& c : prot)
                if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        s.resize(p1);
    }
    const size_t bang = s.find('!');
    if (bang != std::string::npos && s.find("(!)") == std::string::npos) s.replace(bang, 1, "(!)");

    std::string& address = record[SysLogRecord::RemAddr];
    std::string& name = record[SysLogRecord::RemURL];
    const size_t open = s.find('(');
    const size_t close = open == std::string::npos ? std::string::npos : s.find(')', open + 1);
    const std::string_view token(s);
    if (close == std::string::npos) {
        const bool isAddress = IsIPAddress(s);
        address.assign(isAddress ? token : std::string_view());
        name.assign(isAddress ? std::string_view() : token);
    } else if (IsIPAddress(s.substr(0, open))) {
        address.assign(token.substr(0, open));
        name.assign(token.substr(open + 1, close - open - 1));
    } else {
        address.assign(token.substr(open + 1, close - open - 1));
        name.assign(token.substr(0, open));
    }
    if (address == "!" || address == "(!)") address.clear();
    if (name == "!") name.clear();
}

bool ParseBlankForm(std::string_view line, SysLogRecord& record) {
    if (!CutBlankForm(line, record)) return false;
    KeepTimeToSeconds(record);
    const std::string& dir = record[SysLogRecord::Dir];
    if (IsStatusLine(dir)) return false;
    if (dir == "M") {
        record[SysLogRecord::Message] = record[SysLogRecord::RemURL];
        for (int i = SysLogRecord::Prot; i <= SysLogRecord::LPort; ++i) record[i].clear();
        return true;
    }
    SplitRemoteToken(record);
    if (record[SysLogRecord::Date].empty() || record[SysLogRecord::Time].empty() || dir.empty()) return false;
    // "." is what Stillbeacon writes for a value it did not record.
    for (const int i : {SysLogRecord::RemAddr, SysLogRecord::RemURL, SysLogRecord::RPort}) {
        if (record[i] == ".") record[i].clear();
    }
    // An event without a remote party (a spoofing notice) still names its protocol.
    return !record[SysLogRecord::RemAddr].empty() || !record[SysLogRecord::RemURL].empty() ||
           !record[SysLogRecord::Message].empty() || !record[SysLogRecord::Prot].empty();
}

// Tab form: date, time, direction, protocol, remote address, remote name, remote port, local
// address, local port: the first nine fields of the record in the record's own order.
bool ParseTabForm(std::string_view line, SysLogRecord& record) {
    size_t start = 0;
    for (int k = 0; k <= SysLogRecord::LPort; ++k) {
        const size_t tab = line.find('\t', start);
        const bool last = tab == std::string_view::npos;
        if (last && k < SysLogRecord::LPort) return false;
        record[k].assign(line.substr(start, last ? std::string_view::npos : tab - start));
        start = last ? line.size() : tab + 1;
    }
    KeepTimeToSeconds(record);
    const std::string& dir = record[SysLogRecord::Dir];
    if (IsStatusLine(dir)) return false;
    if (dir == "M") record[SysLogRecord::Message] = std::exchange(record[SysLogRecord::RemURL], {});
    return true;
}

}  // namespace

bool SysLogParse(std::string_view line, SysLogRecord& record) {
    if (Trim(line).empty()) return false;
    for (int i = 0; i <= SysLogRecord::Message; ++i) record[i].clear();
    const bool tabForm = line.size() > 10 && line[10] == '\t';
    return tabForm ? ParseTabForm(line, record) : ParseBlankForm(line, record);
}
