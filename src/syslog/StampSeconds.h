#pragma once
#include <optional>
#include <string>
#include <string_view>

// Seconds of a date ("yyyy-mm-dd" or "yyyy/mm/dd") and time ("hh:mm:ss") on one scale; nothing
// when either does not read as such.
std::optional<long long> StampSeconds(std::string_view date, std::string_view time);

// The time a Stillbeacon line would be read with: its first ten bytes as the date and the eight
// after the separator as the time, which is exactly what the parser takes whenever the line's time
// is valid at all; nothing when it is not. A day file's lines share their date: the day is worked
// out again only when the date's bytes change.
class LineSeconds {
  public:
    std::optional<long long> operator()(std::string_view line);

  private:
    std::string date_;
    std::optional<long long> dayStart_;
};
