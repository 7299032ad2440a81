#include "syslog/SysLogPageCutter.h"

#include "text/SysLogText.h"

using namespace syslogtext;

namespace {

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

// A raw line loses everything from "</font>" on and the line breaks around it: a router that
// ends its page lines with CR LF has the CR as part of the line end, not of the last field. A
// line break inside the line (CR LF, or either alone) becomes a blank, so that the line stays
// one line in the history file, where a line break would cut it in two.
std::string CleanPageLine(std::string_view raw) {
    const size_t fontEnd = raw.find("</font>");
    if (fontEnd != std::string_view::npos) raw = raw.substr(0, fontEnd);
    while (!raw.empty() && IsLineBreak(raw.back())) raw.remove_suffix(1);
    while (!raw.empty() && IsLineBreak(raw.front())) raw.remove_prefix(1);
    std::string line;
    line.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
        line += IsLineBreak(raw[i]) ? ' ' : raw[i];
    }
    return line;
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
