#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

// One System Log record: twelve text fields, the same as the twelve columns of the SysLog list.
// Everything in this unit is a pure function over bytes: no form, no files, no network, so the
// functions that read untrusted router pages and Stillbeacon lines are easy to test and fuzz.
struct SysLogRecord {
    enum Field {
        Date = 0,     // "yyyy-mm-dd"; "0000-00-00" for a router line that carried no date
        Time = 1,     // "hh:mm:ss"
        Dir = 2,      // I, O, M; B and P are the subtypes set on admission
        Prot = 3,     // lower case
        RemAddr = 4,  // remote address, dotted IPv4
        RemURL = 5,   // remote host name
        RPort = 6,    // remote port
        LocalAddr = 7,
        LPort = 8,
        Message = 9,
        RowTag = 10,   // "R" admitted this refresh, "N" hidden by Stillbeacon's don't-log lists
        SortKey = 11,  // hidden; left to matching and marking
    };
    static constexpr int FieldCount = 12;

    std::array<std::string, FieldCount> f;

    std::string& operator[](int i) { return f[static_cast<size_t>(i)]; }
    const std::string& operator[](int i) const { return f[static_cast<size_t>(i)]; }
};

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

// Whether text holds a real calendar date "yyyy-mm-dd" (digits, dashes, a day of its month).
bool IsValidDate(std::string_view text);

// Repairs the date of a router line before anything else reads it. A line that starts with a
// time ("hh:mm:ss ...") is left alone. A line whose first ten characters are a valid date makes
// that date lastDate; any other line gets lastDate + 1 day written over its first ten
// characters. Returns false when the line must be dropped: its date lies more than one day
// after today (both "yyyy-mm-dd").
bool RepairRouterDate(std::string& line, std::string& lastDate, const std::string& today);

// Parses one cleaned, date-repaired router line. lanPrefix is the router address up to and
// including its third "." ("192.168.1."); wanAddress is the router's WAN address, learnt from
// lines such as "WAN IP address is 203.0.113.7" (it is updated in place). An empty WAN address
// is no prefix of anything. RowTag is "R"; SortKey is empty.
SysLogRecord ParseRouterLine(std::string_view line, std::string_view lanPrefix, std::string& wanAddress);

// Parses one line of a Stillbeacon day file, blank or tab form, into fields 0 to 9 of a record.
// Returns false for a line that is not a record (empty, too few tokens, a status line "S" or
// "E", neither a remote party nor a protocol nor a message); the record is then partly filled and
// must be skipped.
bool SysLogParse(std::string_view line, SysLogRecord& record);
