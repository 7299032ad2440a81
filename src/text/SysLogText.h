#pragma once
#include <string>
#include <string_view>

#include "text/AddressText.h"

// Text helpers of the System Log parsers. The page walk and the router-line grammar count
// positions from 1, with 0 meaning "not found", the way the routers' formats were worked out;
// these helpers translate to string_view indexes in one place and never read past the end, so
// every byte value and every length is safe.
namespace syslogtext {

inline constexpr char NbspChar = '\xA0';

// Position of the first what at or after position from; 0 when there is none.
inline size_t Find(std::string_view text, std::string_view what, size_t from) {
    if (from < 1) from = 1;
    if (from - 1 > text.size()) return 0;
    const size_t at = text.find(what, from - 1);
    return at == std::string_view::npos ? 0 : at + 1;
}

// At most count characters from position from on; empty past the end.
inline std::string_view Mid(std::string_view text, size_t from, size_t count = std::string_view::npos) {
    if (from < 1 || from > text.size()) return {};
    return text.substr(from - 1, count);
}

// Routers and Stillbeacon separate their fields with blanks only, so only blanks are trimmed.
inline std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Whether text is lower, whatever the case of its ASCII letters; lower is in lower case.
inline bool EqualsNoCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (LowerCaseChar(text[i]) != lower[i]) return false;
    return true;
}

// Whether text holds lower anywhere, whatever the case of its ASCII letters; lower is in lower case.
inline bool ContainsNoCase(std::string_view text, std::string_view lower) {
    if (lower.size() > text.size()) return false;
    for (size_t at = 0; at + lower.size() <= text.size(); ++at)
        if (EqualsNoCase(text.substr(at, lower.size()), lower)) return true;
    return false;
}

// out becomes text in ASCII lower case, in the room out already has.
inline void AssignLowerCase(std::string& out, std::string_view text) {
    out.assign(text);
    for (char& c : out) c = LowerCaseChar(c);
}

inline bool IsAddress(std::string_view text) {
    return IsIPAddress(text);
}

}  // namespace syslogtext
