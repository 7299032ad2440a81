#pragma once
#include <QDateTime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/SysLogRecord.h"
#include "syslog/SysLogPageCutter.h"

struct MainForm;
struct RouterState;

// The kind of System Log the router's layout flags point to.
SysLogKind SysLogKindOf(const RouterState& router);

// Address of page i: the page number written over the character after the first "=" (and, for
// the Gozila.cgi family, after the first "Num=").
std::string SysLogPageAddress(std::string base, SysLogKind kind, int page);

// The pages read, in router order (oldest records first).
struct SysLogPageRead {
    std::vector<std::string> pages;
    // The page (0 the first) whose fetch failed (an empty text), and its address; -1 when the
    // reading ended at the router's own end (a page without a line feed), after ten pages, or on
    // QuitRequested. The pages before it are kept.
    int failedPage = -1;
    std::string failedAddress;
};

// Reads up to ten pages with progress "Retrieving Router log pages". For the Gozila.cgi family a
// page whose select request fails counts as failed: the router would still show the page before.
SysLogPageRead ReadSysLogPages(MainForm& F, SysLogKind kind, const std::string& baseUrl);

// The router's clock as the status page shows it ("Current Time:"), or nothing when the page
// does not show one that reads as a date and time.
std::optional<QDateTime> RouterClock(std::string_view statusPage, bool newFamily);

// Reads the clock from the status page and sets F.RouterClockOffset: seconds by which the
// router's clock is behind the computer's at readAt; "not known" when the page has no clock.
// Returns the router's time as "yyyy-mm-dd hh:nn:ss" (empty when not known).
std::string ReadRouterClock(MainForm& F, const QDateTime& readAt);

// The time stamp ("yyyy-mm-dd hh:nn:ss") of the first line, on any page, that begins with a valid
// date and time; empty when there is none. Lines the router wrote before it knew the date
// ("hh:mm:ss ...") may come first.
std::string FirstDatedStamp(const std::vector<std::vector<std::string>>& pages);
// The time stamp of the last line of the page's log area, when it reads as one; else empty.
std::string LastLineStamp(const std::vector<std::string>& lines);
