#include "capture/SyslogMessage.h"

#include <QDate>
#include <algorithm>
#include <cstdio>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of the count digits at pos (at most 9 of them), or -1 when any is not a digit.
int Digits(std::string_view text, size_t pos, size_t count) {
    if (pos + count > text.size()) return -1;
    int value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (!IsDigit(text[i])) return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(int year, int month, int day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yoe = year - era * 400;
    const long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// "hh:mm:ss" at pos; seconds into the day, or -1.
int TimeOfDay(std::string_view text, size_t pos) {
    const int h = Digits(text, pos, 2), m = Digits(text, pos + 3, 2), s = Digits(text, pos + 6, 2);
    if (h < 0 || m < 0 || s < 0 || text[pos + 2] != ':' || text[pos + 5] != ':') return -1;
    // A leap second reads as the last second of its minute.
    if (h > 23 || m > 59 || s > 60) return -1;
    return h * 3600 + m * 60 + (s == 60 ? 59 : s);
}

// "<PRI>": 1 to 3 digits, 0 to 191. Removed from rest when there.
bool SkipPriority(std::string_view& rest) {
    if (rest.empty() || rest[0] != '<') return false;
    size_t end = 1;
    while (end < rest.size() && end <= 4 && IsDigit(rest[end])) ++end;
    if (end == 1 || end > 4 || end >= rest.size() || rest[end] != '>') return false;
    if (Digits(rest, 1, end - 1) > 191) return false;
    rest.remove_prefix(end + 1);
    return true;
}

// The text up to the next blank, removed from rest with that blank; empty when there is no blank.
std::string_view TakeField(std::string_view& rest) {
    const size_t blank = rest.find(' ');
    if (blank == std::string_view::npos || blank == 0) return {};
    const std::string_view field = rest.substr(0, blank);
    rest.remove_prefix(blank + 1);
    return field;
}

// RFC 5424 structured data: "-" or one or more "[id name="value" ...]" elements, where a value
// may hold an escaped quote or bracket. Removed from rest when well formed.
bool SkipStructuredData(std::string_view& rest) {
    if (!rest.empty() && rest[0] == '-') {
        rest.remove_prefix(1);
        return true;
    }
    if (rest.empty() || rest[0] != '[') return false;
    size_t i = 0;
    while (i < rest.size() && rest[i] == '[') {
        bool quoted = false;
        for (++i; i < rest.size(); ++i) {
            if (quoted && rest[i] == '\\') {
                ++i;
            } else if (rest[i] == '"') {
                quoted = !quoted;
            } else if (!quoted && rest[i] == ']') {
                break;
            }
        }
        if (i >= rest.size()) return false;
        ++i;
    }
    rest.remove_prefix(i);
    return true;
}

// "<PRI>1 TIMESTAMP HOSTNAME APP-NAME PROCID MSGID SD [MSG]"; false (message untouched) when the
// text after the priority is not that.
bool ParseRfc5424(std::string_view rest, SyslogMessage& message) {
    const std::string_view version = TakeField(rest);
    if (version.empty() || version.size() > 3 || version[0] == '0' || Digits(version, 0, version.size()) < 0)
        return false;
    const std::string_view stamp = TakeField(rest);
    std::optional<std::time_t> when;
    if (stamp != "-") {
        when = ParseRfc3339(stamp);
        if (!when) return false;
    }
    for (int field = 0; field < 4; ++field) {  // host name, app name, process id, message id
        if (TakeField(rest).empty()) return false;
    }
    if (!SkipStructuredData(rest)) return false;
    if (!rest.empty() && rest[0] != ' ') return false;
    if (!rest.empty()) rest.remove_prefix(1);
    if (rest.starts_with(kByteOrderMark)) rest.remove_prefix(kByteOrderMark.size());
    message.when = when;
    message.text = rest;
    return true;
}

// "Mmm dd hh:mm:ss " (the day may be padded with a blank, or written with one digit) or
// "Mmm dd yyyy hh:mm:ss ". Removed from rest when there; routerStamp is set for the second form.
bool SkipRfc3164Stamp(std::string_view& rest, std::string& routerStamp) {
    static constexpr std::string_view kMonths = "janfebmaraprmayjunjulaugsepoctnovdec";
    if (rest.size() < 15 || rest[3] != ' ') return false;
    const std::string lower = {Lower(rest[0]), Lower(rest[1]), Lower(rest[2])};
    const size_t at = kMonths.find(lower);
    if (at == std::string_view::npos || at % 3 != 0) return false;
    const int month = static_cast<int>(at / 3) + 1;
    size_t pos = 4;
    if (rest[pos] == ' ') ++pos;
    int day = Digits(rest, pos, 2);
    if (day >= 0) {
        pos += 2;
    } else {
        day = Digits(rest, pos, 1);
        pos += 1;
    }
    if (day < 1 || pos >= rest.size() || rest[pos] != ' ') return false;
    ++pos;
    int year = -1;
    if (Digits(rest, pos, 4) >= 0 && pos + 4 < rest.size() && rest[pos + 4] == ' ') {
        year = Digits(rest, pos, 4);
        pos += 5;
    }
    const int seconds = TimeOfDay(rest, pos);
    if (seconds < 0 || pos + 8 >= rest.size() || rest[pos + 8] != ' ') return false;
    if (year >= 0) {
        if (!QDate::isValid(year, month, day)) return false;
        char stamp[80];
        std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, seconds / 3600,
                      seconds / 60 % 60, seconds % 60);
        routerStamp = stamp;
    }
    rest.remove_prefix(pos + 9);
    return true;
}

// "name[digits]:" as daemons tag their messages.
bool IsTagWithProcessId(std::string_view word) {
    const size_t open = word.find('[');
    if (open == 0 || open == std::string_view::npos || word.size() < open + 4) return false;
    if (!word.ends_with("]:")) return false;
    const std::string_view id = word.substr(open + 1, word.size() - open - 3);
    return std::all_of(id.begin(), id.end(), IsDigit);
}

void ParseRfc3164(std::string_view rest, std::span<const std::string> hostNames, SyslogMessage& message) {
    bool stamped = SkipRfc3164Stamp(rest, message.routerStamp);
    if (!stamped) {
        // Some senders write an RFC 3339 time in the older header.
        std::string_view after = rest;
        const std::string_view stamp = TakeField(after);
        if (const auto when = ParseRfc3339(stamp)) {
            message.when = when;
            rest = after;
            stamped = true;
        }
    }
    if (stamped) {
        std::string_view after = rest;
        const std::string_view word = TakeField(after);
        bool isHost = false;
        for (const std::string& name : hostNames) {
            if (!name.empty() && SameIgnoringCase(word, name)) isHost = true;
        }
        std::string_view next = after;
        const std::string_view nextWord = TakeField(next);
        if (!word.empty() && (isHost || IsTagWithProcessId(nextWord))) rest = after;
    }
    message.text = rest;
}

}  // namespace

std::optional<std::time_t> ParseRfc3339(std::string_view text) {
    // yyyy-mm-ddThh:mm:ss[.frac](Z|+hh:mm|-hh:mm)
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != 't'))
        return std::nullopt;
    const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const int seconds = TimeOfDay(text, 11);
    if (seconds < 0 || !QDate::isValid(year, month, day)) return std::nullopt;
    size_t pos = 19;
    if (text[pos] == '.') {
        ++pos;
        const size_t digitsFrom = pos;
        while (pos < text.size() && IsDigit(text[pos])) ++pos;
        if (pos == digitsFrom || pos - digitsFrom > 9) return std::nullopt;
    }
    const std::string_view zone = text.substr(pos);
    long long offset = 0;
    if (zone == "Z" || zone == "z") {
        offset = 0;
    } else if (zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') && zone[3] == ':') {
        const int h = Digits(zone, 1, 2), m = Digits(zone, 4, 2);
        if (h < 0 || m < 0 || h > 23 || m > 59) return std::nullopt;
        offset = (h * 3600LL + m * 60LL) * (zone[0] == '-' ? -1 : 1);
    } else {
        return std::nullopt;
    }
    return static_cast<std::time_t>(DaysFromCivil(year, month, day) * 86400 + seconds - offset);
}

SyslogMessage ParseSyslogMessage(std::string_view bytes, std::span<const std::string> hostNames) {
    SyslogMessage message;
    std::string_view rest = bytes;
    // Without a priority it is no syslog message: all of it is the text, received now.
    if (!SkipPriority(rest)) {
        message.text = bytes;
        return message;
    }
    if (!ParseRfc5424(rest, message)) ParseRfc3164(rest, hostNames, message);
    return message;
}
