#include "sblog/DayFileLines.h"

#include "sblog/StdLogLine.h"
#include "text/TextLines.h"

namespace {

using R = SysLogRecord;

constexpr char Nbsp = '\xA0';

// Anything that would split a token, or a line, becomes NBSP.
std::string OneToken(std::string text) {
    for (char& c : text)
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = Nbsp;
    return text;
}

std::string OrDot(const std::string& field) {
    return field.empty() ? "." : field;
}

// "?" in the list means "looked up, nothing found": no name to write.
std::string Known(const std::string& field) {
    return field == "?" ? std::string() : field;
}

bool KeepsMessageApart(const std::string& dir) {
    return dir == "I" || dir == "O" || dir == "P" || dir == "B";
}

// Stillbeacon writes its dates with slashes.
std::string SlashDate(std::string date) {
    if (date.size() >= 8) date[4] = date[7] = '/';
    return date;
}

struct Remote {
    std::string addr, name;
};

// A name equal to the address adds nothing.
Remote RemoteOf(const SysLogRecord& r) {
    Remote remote{Known(r[R::RemAddr]), Known(r[R::RemURL])};
    if (remote.name == remote.addr) remote.name.clear();
    return remote;
}

// name(address), either alone, then the protocol and, for other records than inbound and
// outbound ones, the message, joined by NBSP the way Stillbeacon joins them.
std::string BlankRemoteToken(const SysLogRecord& r) {
    const Remote remote = RemoteOf(r);
    std::string token = !remote.name.empty() && !remote.addr.empty() ? remote.name + "(" + remote.addr + ")"
                                                                     : remote.name + remote.addr;
    if (!r[R::Prot].empty()) token += Nbsp + r[R::Prot];
    if (!r[R::Message].empty() && !KeepsMessageApart(r[R::Dir]))
        token = token.empty() ? r[R::Message] : token + Nbsp + r[R::Message];
    return OneToken(token);
}

std::string RecordLine(const SysLogRecord& r, DayForm form) {
    const std::string date = SlashDate(r[R::Date]);
    if (form == DayForm::Blank) {
        return StdLogLine(date, r[R::Time], r[R::Dir], BlankRemoteToken(r), OrDot(r[R::RPort]),
                          OrDot(r[R::LocalAddr]), OrDot(r[R::LPort]));
    }
    if (r[R::Dir] == "M")
        return StdLogLineTab(date, r[R::Time], "M", OneToken(r[R::Prot]), "", OneToken(r[R::Message]), "", "",
                             "");
    const Remote remote = RemoteOf(r);
    return StdLogLineTab(date, r[R::Time], r[R::Dir], r[R::Prot], remote.addr, remote.name, r[R::RPort],
                         r[R::LocalAddr], r[R::LPort]);
}

bool WorthALine(const std::string& message) {
    const size_t first = message.find_first_not_of(' ');
    return first != std::string::npos && message[first] != Nbsp;
}

// The message line takes the record line's date and time as they were written.
std::string MessageLine(const std::string& recordLine, const std::string& message, DayForm form) {
    if (form == DayForm::Blank) return recordLine.substr(0, 19) + " M " + OneToken(message) + " . . .";
    return recordLine.substr(0, 20) + "M\t\t\t" + OneToken(message) + "\t\t\t";
}

}  // namespace

DayForm DayFormOf(std::string_view fileBytes) {
    fileBytes = WithoutByteOrderMark(fileBytes);
    // Most day files hold no tab at all: one quick look settles those without walking the lines.
    if (fileBytes.find('\t') == std::string_view::npos) return DayForm::Blank;
    DayForm form = DayForm::Blank;
    ForEachLine(fileBytes, [&](std::string_view line) {
        if (line.size() > 10 && line[10] == '\t') form = DayForm::Tab;
        return form == DayForm::Blank;
    });
    return form;
}

void AppendRecordLines(const SysLogRecord& record, DayForm form, std::vector<std::string>& lines) {
    lines.push_back(RecordLine(record, form));
    const std::string& message = record[R::Message];
    if (KeepsMessageApart(record[R::Dir]) && WorthALine(message))
        lines.push_back(MessageLine(lines.back(), message, form));
}
