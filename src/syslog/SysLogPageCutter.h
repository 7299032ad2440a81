#pragma once
#include <string>
#include <string_view>
#include <vector>

// Cutting a router's System Log page into its record lines. Pure functions over bytes: the pages
// are untrusted, so they are easy to test and fuzz.

// The three ways routers lay out their System Log pages.
enum class SysLogKind {
    NewFamily,       // pages selected through Gozila.cgi, then read from SysLog.htm
    NoFirewallWord,  // one page, VPNLog.htm
    Standard,        // Group.cgi pages
};

struct SysLogLayout {
    std::string pagePath;  // path of page 0, appended to "http://" + router address
    std::string anchor;    // text that precedes the log area
    std::string marker;    // text that precedes each record
};
SysLogLayout LayoutFor(SysLogKind kind);

// The record lines of one page in page order: the text between the log-area anchor and
// "<br></font>", cut at "<br>", with "</font>" and the line breaks (CR, LF) at either end removed,
// any line break inside a line turned into a blank, and empty lines skipped. A page without its
// anchor, marker or end yields no line.
std::vector<std::string> CutSysLogPage(std::string_view page, std::string_view anchor,
                                       std::string_view marker);
