#include "syslog/SysLogRecord.h"
#include "syslog/SysLogText.h"

using namespace syslogtext;

namespace {

// A raw line loses everything from "</font>" on and one trailing line feed.
std::string CleanPageLine(std::string_view raw) {
    const size_t fontEnd = raw.find("</font>");
    if (fontEnd != std::string_view::npos) raw = raw.substr(0, fontEnd);
    if (!raw.empty() && raw.back() == '\n') raw.remove_suffix(1);
    return std::string(raw);
}

}  // namespace

SysLogLayout LayoutFor(SysLogKind kind) {
    const std::string fontMarker = "<font face=verdana size=1.5 color=";
    switch (kind) {
        case SysLogKind::NewFamily:
            return {
                "/Gozila.cgi?SysLog.htm=1&hid_returnPoint=hid_sysLogPageNum&hid_sysLogPageNum=1"
                "&hid_sysLogClear=0&sel_sysLogType=0",
                "('SysLog.htm'", fontMarker};
        case SysLogKind::NoFirewallWord:
            return {"/VPNLog.htm", "('VPNLog.htm'", "<br>"};
        case SysLogKind::Standard:
            break;
    }
    return {"/Group.cgi?Log_Page_Num=0&LogClear=0", "('SysLogTable.htm'", fontMarker};
}

std::vector<std::string> CutSysLogPage(std::string_view page, std::string_view anchor,
                                       std::string_view marker) {
    std::vector<std::string> lines;
    // a: the ">" that ends the tag before the next line; e: where the log area ends.
    size_t a = Find(page, anchor, 1);
    if (a > 0) a = Find(page, marker, a + 1);
    if (a > 0) a = Find(page, ">", a + 1);
    const size_t e = a > 0 ? Find(page, "<br></font>", a + 1) : 0;
    if (e == 0) return lines;

    size_t c = 0;  // the last "<br>" used
    while (c + 1 < e && a > 0) {
        const size_t b = Find(page, "<br>", a + 1);
        // A walk that has left the log area (a marker found only after its end) reads no further.
        if (b == 0 || b > e) break;
        c = b;
        std::string line = CleanPageLine(page.substr(a, b - a - 1));
        if (!line.empty()) lines.push_back(std::move(line));

        // Where "<br>" is itself the marker the next line starts right after it; otherwise after
        // the next marker's tag. a only ever moves forward, so the walk ends.
        a = page.substr(c - 1).starts_with(marker) ? b + 2 : Find(page, marker, b + 4);
        if (a > 0) a = Find(page, ">", a + 1);
        // Empty tags in a row ("<b><i>") are not text: go on to the ">" of the last one.
        while (a > 0 && a < e && Mid(page, a, 2) == "><") a = Find(page, ">", a + 1);
    }
    return lines;
}
