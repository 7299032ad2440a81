#include "sblog/SbLineReader.h"

namespace {

constexpr std::size_t kTimeStart = 11;
constexpr std::size_t npos = std::string_view::npos;

std::string_view Mid(std::string_view s, std::size_t pos, std::size_t len = npos) {
    return pos >= s.size() ? std::string_view() : s.substr(pos, len);
}

// Splits off the next field; rest keeps what follows its separator.
std::string_view NextField(std::string_view& rest, char separator) {
    const std::size_t cut = rest.find(separator);
    std::string_view field = rest.substr(0, cut);
    rest = cut == npos ? std::string_view() : rest.substr(cut + 1);
    return field;
}

// Stillbeacon may write the remote party as name(address) or address(name); both halves count.
void SplitRemote(std::string_view token, SbRecordView& r) {
    r.remote1 = token;
    r.remote2 = {};
    const std::size_t open = token.find('(');
    if (open == npos) return;
    const std::size_t close = token.find(')', open + 1);
    if (close == npos) return;
    r.remote1 = token.substr(0, open);
    r.remote2 = token.substr(open + 1, close - open - 1);
}

void ReadTabForm(std::string_view rest, SbRecordView& r) {
    NextField(rest, '\t');  // protocol, not compared
    SplitRemote(NextField(rest, '\t'), r);
    r.remote2 = NextField(rest, '\t');
    r.remotePort = NextField(rest, '\t');
    r.localAddr = NextField(rest, '\t');
    r.localPort = NextField(rest, '\t');
}

void ReadBlankForm(std::string_view rest, char nbsp, SbRecordView& r) {
    SplitRemote(NextField(rest, ' '), r);
    r.remote1 = r.remote1.substr(0, r.remote1.find(nbsp));
    r.remotePort = NextField(rest, ' ');
    r.localAddr = NextField(rest, ' ');
    r.localPort = rest;
}

}  // namespace

std::size_t FindDirectionMarker(std::string_view line) {
    std::size_t p = kTimeStart;
    while (p < line.size() && line[p] != ' ' && line[p] != '\t') ++p;
    if (p + 2 >= line.size()) return npos;
    const char sep = line[p];
    const char dir = line[p + 1];
    if ((dir != 'I' && dir != 'O') || line[p + 2] != sep) return npos;
    return p;
}

SbRecordView ReadSbRecord(std::string_view line, char nbsp) {
    SbRecordView r;
    const std::size_t marker = FindDirectionMarker(line);
    if (marker == npos) return r;
    r.date = Mid(line, 0, 10);
    r.time = Mid(line, kTimeStart, 8);
    r.direction = line[marker + 1];
    const std::string_view rest = line.substr(marker + 3);
    if (rest.find('\t') != npos)
        ReadTabForm(rest, r);
    else
        ReadBlankForm(rest, nbsp, r);
    return r;
}
