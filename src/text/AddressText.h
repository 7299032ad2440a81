#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Small text routines shared by every lookup path. Positions are counted from 1, 0 meaning
// "not found", because callers use them as yes/no answers as well as positions.

// A dotted IPv4 address: 7 to 15 characters whose first four dot-separated fields are 1 to 3
// digits with a value from 0 to 255. Text after the fourth field is not examined.
bool IsIPAddress(std::string_view s);
// A router address as the address field takes it: a host name or a dotted IPv4 address, with an
// optional ":" and port (1 to 65535), nothing else (no scheme, path, blank or logon).
bool IsHostWithOptionalPort(const std::string& s);
// The address in network byte order (first octet in the lowest byte) as a signed 32-bit number;
// 0 for a text that is not a dotted address.
std::int32_t IPToLong(const std::string& s);
// Position of the first character of text that belongs to set; 0 when none does.
int FindFirstOf(const std::string& text, const std::string& set);
bool HasBadChars(const std::string& text, const std::string& set);
// ASCII lower case; other bytes are kept as they are.
inline char LowerCaseChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string LowerCase(std::string text);
