#include "stdlog/ConvertPorts.h"

#include <array>
#include <utility>

#include "form/RecordGrid.h"

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kServices{{
    {"http", "80"},
    {"pop3", "110"},
    {"ftp", "21"},
    {"echo", "7"},
    {"telnet", "23"},
    {"smtp", "25"},
    {"dns", "53"},
    {"finger", "79"},
    {"nntp", "119"},
    {"snmp", "161"},
    {"snmp trap", "162"},
}};

}  // namespace

std::string LowerLatin1(std::string_view text) {
    std::string s(text);
    for (char& ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) ch = static_cast<char>(c + 0x20);
    }
    return s;
}

std::string PortWithService(std::string_view cell) {
    std::string s = LowerLatin1(cell);
    for (const auto& [name, port] : kServices)
        if (s == name) return std::string(port) + " - " + s;
    return s;
}

void ConvertPorts(RecordGrid& list, int column) {
    for (int r = 1; r < list.Rows(); ++r)
        list.SetTextMatrix(r, column, PortWithService(list.TextMatrix(r, column)));
}
