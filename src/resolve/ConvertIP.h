#pragma once
#include <string>

class Resolver;

// The DNS-only reverse lookup with its fixed call shape: a dotted address of at most 15
// characters padded with NUL characters to 16, and a 1,025-byte buffer into which a
// NUL-terminated host name is written. The result is 1 when the lookup ran (the name "!" then
// meaning that there is no name) and 0 when it could not be made.
inline constexpr int ConvertIPAddressSize = 16;
inline constexpr int ConvertIPBufferSize = 1025;

short ConvertIP(Resolver& resolver, std::string paddedAddress, std::string& nameBuffer);
// An address padded to the 16 characters ConvertIP takes.
std::string PadForConvertIP(const std::string& address);
