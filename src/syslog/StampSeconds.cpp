#include "syslog/StampSeconds.h"

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153LL * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int TwoDigits(std::string_view s, size_t at) {
    return (s[at] - '0') * 10 + (s[at + 1] - '0');
}

// Seconds of a date's midnight; nothing unless it reads as a date.
std::optional<long long> DayStartSeconds(std::string_view date) {
    if (date.size() != 10) return std::nullopt;
    for (const size_t at : {0, 1, 2, 3, 5, 6, 8, 9})
        if (date[at] < '0' || date[at] > '9') return std::nullopt;
    const int m = TwoDigits(date, 5), d = TwoDigits(date, 8);
    if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    return DaysFromCivil(TwoDigits(date, 0) * 100 + TwoDigits(date, 2), m, d) * 86400;
}

// Seconds since midnight of "hh:mm:ss" (what follows the eighth character is not looked at).
std::optional<long long> ClockSeconds(std::string_view time) {
    if (time.size() < 8 || time[2] != ':' || time[5] != ':') return std::nullopt;
    for (const size_t at : {0, 1, 3, 4, 6, 7})
        if (time[at] < '0' || time[at] > '9') return std::nullopt;
    return TwoDigits(time, 0) * 3600LL + TwoDigits(time, 3) * 60LL + TwoDigits(time, 6);
}

}  // namespace

std::optional<long long> StampSeconds(std::string_view date, std::string_view time) {
    const auto day = DayStartSeconds(date);
    const auto clock = ClockSeconds(time);
    if (!day || !clock) return std::nullopt;
    return *day + *clock;
}

std::optional<long long> LineSeconds::operator()(std::string_view line) {
    if (line.size() < 19 || (line[10] != ' ' && line[10] != '\t')) return std::nullopt;
    const std::string_view date = line.substr(0, 10);
    if (date != date_) {
        dayStart_ = DayStartSeconds(date);
        date_.assign(date);
    }
    const auto clock = ClockSeconds(line.substr(11, 8));
    if (!dayStart_ || !clock) return std::nullopt;
    return *dayStart_ + *clock;
}
