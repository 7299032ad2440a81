#include "router/FetchTrace.h"

#include <cmath>
#include <cstdio>

#include "files/FileBytes.h"

namespace {

// Longest address part of a page copy name; keeps the name well inside file name limits.
constexpr size_t kMaxAddressInName = 180;

char FileNameChar(char c) {
    switch (c) {
        case ':':
            return ';';
        case '/':
            return '\'';
        case '?':
            return '!';
        case '\\':
        case '*':
        case '"':
        case '<':
        case '>':
        case '|':
            return '_';
        default:
            break;
    }
    const auto byte = static_cast<unsigned char>(c);
    return byte < 32 || byte >= 127 ? '_' : c;
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        const char a = static_cast<char>(
            std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])));
        if (a != suffix[i]) return false;
    }
    return true;
}

}  // namespace

std::string TraceTime(const QDateTime& now) {
    const double seconds = std::round(now.time().msecsSinceStartOfDay() / 10.0) / 100.0;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", seconds);
    std::string text = buffer;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string AddressWithoutLogon(const std::string& address) {
    const std::string scheme = "http://";
    if (address.compare(0, scheme.size(), scheme) != 0) return address;
    const auto hostEnd = address.find_first_of("/?#", scheme.size());
    const auto at = address.rfind('@', hostEnd == std::string::npos ? std::string::npos : hostEnd);
    if (at == std::string::npos || at < scheme.size()) return address;
    return scheme + address.substr(at + 1);
}

std::string PageCopyName(const std::string& programDir, int counter, const std::string& address) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", counter);
    std::string name;
    const std::string shown = AddressWithoutLogon(address).substr(0, kMaxAddressInName);
    for (char c : shown) name += FileNameChar(c);
    if (!EndsWithNoCase(name, ".htm") && !EndsWithNoCase(name, ".html")) name += ".html";
    return programDir + "DXimage-" + number + "-" + name;
}

TraceLog::TraceLog(bool on, const std::string& path) : on_(on) {
    std::string error;
    if (on_ && !file_.Open(path, error)) on_ = false;
}

void TraceLog::Line(const std::string& text) {
    std::string error;
    if (on_) file_.Append(text, error);
}

void TraceLog::Close() {
    file_.Close();
    on_ = false;
}

bool WritePageCopy(const std::string& path, const std::string& page) {
    return SaveFileAtomically(path, page);
}
