#pragma once
#include <optional>
#include <string>

// The router's clock offset (RouterClockOffset: this computer's clock minus the router's, in
// seconds), as the last System Log refresh that could read the router's clock found it. The
// refresh leaves it in "DXRouterClock.txt" in the program folder, one line "OFFSET=seconds", so
// the syslog receiver, another process, can put messages without a dated header in the router's
// time as its pages would show them.

inline constexpr const char* RouterClockFileName = "DXRouterClock.txt";

// Replaces the file atomically with offset; does nothing when the offset is "not known", there
// is no folder or the file already holds the offset. False when the file could not be written
// (the old one then stays whole).
bool KeepRouterClockOffset(const std::string& folder, long long offset);

// The offset the file holds; nullopt when there is none (no file, or no readable OFFSET line).
std::optional<long long> ReadRouterClockOffset(const std::string& folder);
