#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small text helpers for Drovix's and Stillbeacon's plain-text settings files. Everything works
// on bytes; nothing here converts character sets.

// The lines of a file, without their line ends; CR LF and LF are both accepted.
std::vector<std::string> SplitLines(std::string_view bytes);

// ASCII upper case; other bytes are left as they are.
std::string UpperAscii(std::string_view text);

// The text without leading and trailing blanks and tabs.
std::string TrimBlanks(std::string_view text);

// A whole decimal number with an optional sign and blanks around it; nothing for anything else.
std::optional<long long> ParseWholeNumber(std::string_view text);

// A decimal number that may carry a fraction, rounded to the nearest whole number; nothing for
// text that is not a number or lies beyond +-1e15.
std::optional<long long> ParseRoundedNumber(std::string_view text);

// The number at the start of a text after leading blanks (digits, an optional sign and
// fraction); 0 when the text does not start with one or lies beyond +-1e15. Stillbeacon's own
// settings and the numbers typed into the options panel are read so.
double LeadingNumber(std::string_view text);

// The number's whole part as an int; 0 for a number beyond the int range, which no setting uses.
int WholeIntOrZero(double number);
