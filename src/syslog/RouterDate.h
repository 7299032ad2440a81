#pragma once
#include <string>
#include <string_view>

// The dates of router lines. Pure functions over bytes.

// Whether a router line starts with a time ("hh:mm:ss ...") and no date: the router wrote it
// before it knew the date.
inline bool IsUndated(std::string_view line) {
    return line.size() >= 3 && line[2] == ':';
}

// Whether text holds a real calendar date "yyyy-mm-dd" (digits, dashes, a day of its month).
bool IsValidDate(std::string_view text);

// Repairs the date of a router line before anything else reads it. A line that starts with a
// time ("hh:mm:ss ...") is left alone. A line whose first ten characters are a valid date makes
// that date lastDate; any other line gets lastDate + 1 day written over its first ten
// characters. Returns false when the line must be dropped: its date lies more than one day
// after today (both "yyyy-mm-dd").
bool RepairRouterDate(std::string& line, std::string& lastDate, const std::string& today);
