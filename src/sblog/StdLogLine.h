#pragma once
#include <string>
#include <string_view>

// Stillbeacon's record line, as its own tools read it. Both forms carry one record per line and
// end in CR LF; the builders return the line without its end so callers can add it once.

inline constexpr std::string_view SbLineEnd = "\r\n";

// Blank form: date, time, direction, remote, remote port, local address, local port, separated
// by single blanks. The date and time are written as given (the writer decides their form).
std::string StdLogLine(std::string_view date, std::string_view time, std::string_view direction,
                       std::string_view remote, std::string_view remotePort, std::string_view localAddr,
                       std::string_view localPort);

// Tab form: date, time, direction, protocol, remote address, remote name, remote port, local
// address, local port, separated by single tabs.
std::string StdLogLineTab(std::string_view date, std::string_view time, std::string_view direction,
                          std::string_view protocol, std::string_view remoteAddr, std::string_view remoteName,
                          std::string_view remotePort, std::string_view localAddr,
                          std::string_view localPort);
