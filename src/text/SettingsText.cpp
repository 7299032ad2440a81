#include "text/SettingsText.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

namespace {

// Length of the number at the start of text: [sign] digits [. digits]; 0 when there is none.
size_t NumberLength(std::string_view text, bool allowFraction) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t digitsStart = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    size_t digits = i - digitsStart;
    if (allowFraction && i < text.size() && text[i] == '.') {
        const size_t fractionStart = ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        digits += i - fractionStart;
    }
    return digits == 0 ? 0 : i;
}

std::optional<double> ParseDecimal(std::string_view text, bool allowFraction) {
    const std::string trimmed = TrimBlanks(text);
    const size_t length = NumberLength(trimmed, allowFraction);
    if (length == 0 || length != trimmed.size()) return std::nullopt;
    // from_chars takes no leading '+'.
    const size_t skip = trimmed[0] == '+' ? 1 : 0;
    double value = 0;
    const auto result = std::from_chars(trimmed.data() + skip, trimmed.data() + trimmed.size(), value);
    if (result.ec != std::errc() || std::fabs(value) > 1e15) return std::nullopt;
    return value;
}

}  // namespace

std::optional<long long> ParseWholeNumber(std::string_view text) {
    const auto value = ParseDecimal(text, false);
    if (!value) return std::nullopt;
    return static_cast<long long>(*value);
}

std::optional<long long> ParseRoundedNumber(std::string_view text) {
    const auto value = ParseDecimal(text, true);
    if (!value) return std::nullopt;
    return std::llround(*value);
}

double LeadingNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return 0;
    text.remove_prefix(first);
    const size_t length = NumberLength(text, true);
    if (length == 0) return 0;
    const auto value = ParseDecimal(text.substr(0, length), true);
    return value ? *value : 0;
}

int WholeIntOrZero(double number) {
    // Compared as doubles: both bounds are exact, and NaN fails both tests.
    if (!(number > static_cast<double>(INT_MIN) - 1 && number < static_cast<double>(INT_MAX) + 1)) return 0;
    return static_cast<int>(number);
}
