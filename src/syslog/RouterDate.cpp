#include "syslog/RouterDate.h"

#include <QDate>
#include <cstdio>

namespace {

int Digits(std::string_view text) {
    int value = 0;
    for (const char c : text) value = value * 10 + (c - '0');
    return value;
}

QDate ToDate(std::string_view text) {
    if (!IsValidDate(text)) return {};
    return QDate(Digits(text.substr(0, 4)), Digits(text.substr(5, 2)), Digits(text.substr(8, 2)));
}

// "yyyy-mm-dd", or empty for a date that has no such form (before year 1 or after 9999).
std::string DateText(const QDate& date) {
    if (!date.isValid() || date.year() < 1 || date.year() > 9999) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year(), date.month(), date.day());
    return text;
}

}  // namespace

bool IsValidDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (const size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    const int year = Digits(text.substr(0, 4));
    return year >= 1 && QDate(year, Digits(text.substr(5, 2)), Digits(text.substr(8, 2))).isValid();
}

bool RepairRouterDate(std::string& line, std::string& lastDate, const std::string& today) {
    if (line.size() >= 3 && line[2] == ':') return true;  // "hh:mm:ss ...": no date to repair
    const QDate todayDate = ToDate(today);
    const std::string_view head = std::string_view(line).substr(0, 10);
    QDate date = ToDate(head);
    if (date.isValid()) {
        lastDate = std::string(head);
    } else {
        // The day after the last good date; today when there was none worth the name. The date
        // later names a history file, so nothing but a valid date is ever written here.
        const QDate last = ToDate(lastDate);
        std::string replacement = last.isValid() ? DateText(last.addDays(1)) : std::string();
        if (replacement.empty()) replacement = DateText(todayDate);
        if (replacement.empty()) return false;
        // A line shorter than a date is padded with blanks first, so it ends up as the date alone.
        if (line.size() < 10) line.resize(10, ' ');
        line.replace(0, 10, replacement);
        date = ToDate(replacement);
    }
    return !todayDate.isValid() || todayDate.daysTo(date) <= 1;
}
