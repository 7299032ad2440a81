#include "sblog/StdLogLine.h"

#include <initializer_list>

namespace {

// A field is copied byte for byte, except for what would break the line apart: a line break
// inside a router cell would split one record into two lines, and in the tab form a tab would
// shift every later field. Those become blanks.
void AppendField(std::string& line, std::string_view field, bool tabSeparated) {
    for (char c : field) {
        if (c == '\r' || c == '\n' || (tabSeparated && c == '\t')) c = ' ';
        line += c;
    }
}

std::string Join(std::initializer_list<std::string_view> fields, char separator) {
    std::string line;
    std::size_t size = fields.size();
    for (std::string_view f : fields) size += f.size();
    line.reserve(size);
    bool first = true;
    for (std::string_view f : fields) {
        if (!first) line += separator;
        first = false;
        AppendField(line, f, separator == '\t');
    }
    return line;
}

}  // namespace

std::string StdLogLine(std::string_view date, std::string_view time, std::string_view direction,
                       std::string_view remote, std::string_view remotePort, std::string_view localAddr,
                       std::string_view localPort) {
    return Join({date, time, direction, remote, remotePort, localAddr, localPort}, ' ');
}

std::string StdLogLineTab(std::string_view date, std::string_view time, std::string_view direction,
                          std::string_view protocol, std::string_view remoteAddr, std::string_view remoteName,
                          std::string_view remotePort, std::string_view localAddr,
                          std::string_view localPort) {
    return Join({date, time, direction, protocol, remoteAddr, remoteName, remotePort, localAddr, localPort},
                '\t');
}
