#include "text/AddressText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace {

// The four octets of a dotted address, or nothing when the text is not one. The fourth field
// runs to the next "." or the end; what follows that "." is not looked at.
std::optional<std::array<int, 4>> Octets(std::string_view s) {
    if (s.size() < 7 || s.size() > 15) return std::nullopt;
    std::array<int, 4> octets{};
    size_t i = 0;
    for (size_t k = 0; k < octets.size(); ++k) {
        if (k > 0) {
            if (i == s.size()) return std::nullopt;
            ++i;  // the dot
        }
        const size_t start = i;
        int value = 0;
        for (; i < s.size() && s[i] != '.'; ++i) {
            const char c = s[i];
            if (c < '0' || c > '9' || i - start == 3) return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (i == start || value > 255) return std::nullopt;
        octets[k] = value;
    }
    return octets;
}

}  // namespace

bool IsIPAddress(std::string_view s) {
    return Octets(s).has_value();
}

std::int32_t IPToLong(const std::string& s) {
    const auto octets = Octets(s);
    if (!octets) return 0;
    const std::uint32_t value =
        static_cast<std::uint32_t>((*octets)[0]) | static_cast<std::uint32_t>((*octets)[1]) << 8 |
        static_cast<std::uint32_t>((*octets)[2]) << 16 | static_cast<std::uint32_t>((*octets)[3]) << 24;
    return static_cast<std::int32_t>(value);
}

int FindFirstOf(const std::string& text, const std::string& set) {
    if (set.empty()) return 0;
    const size_t at = text.find_first_of(set);
    return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

bool HasBadChars(const std::string& text, const std::string& set) {
    return FindFirstOf(text, set) != 0;
}

std::string LowerCase(std::string text) {
    for (char& c : text) c = LowerCaseChar(c);
    return text;
}

namespace {

bool IsHostLabel(const std::string& label) {
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
    for (unsigned char c : label) {
        if (!std::isalnum(c) && c != '-') return false;
    }
    return true;
}

bool IsPort(const std::string& port) {
    if (port.empty() || port.size() > 5) return false;
    for (unsigned char c : port) {
        if (!std::isdigit(c)) return false;
    }
    const long value = std::stol(port);
    return value >= 1 && value <= 65535;
}

}  // namespace

bool IsHostWithOptionalPort(const std::string& s) {
    const std::size_t colon = s.find(':');
    const std::string host = s.substr(0, colon);
    if (colon != std::string::npos && !IsPort(s.substr(colon + 1))) return false;
    if (host.empty() || host.size() > 253) return false;
    std::size_t start = 0;
    bool allDigits = true;
    int labels = 0;
    while (true) {
        const std::size_t dot = host.find('.', start);
        const std::string label =
            host.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!IsHostLabel(label)) return false;
        for (unsigned char c : label) allDigits = allDigits && std::isdigit(c);
        ++labels;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    // All digits: only a whole dotted address will do ("192.168.1" is no host name).
    return !allDigits || (labels == 4 && IsIPAddress(host));
}
