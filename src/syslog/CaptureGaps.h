#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Telling the router lines the syslog receiver captured apart from the lines the router's pages
// and the history files hold. Pure functions over bytes.
//
// A captured line and a page or history line are the same event when their texts (after the
// stamp) are equal and their stamps no further apart than the tolerance, or else when the rules
// that find the router's records in Stillbeacon's logs pair them within the tolerance. A capture
// stamp can be a second or two off the page's: a message whose header names no year is stamped
// with the time it arrived, in the router's time as the last refresh measured it.

struct SameEventRules {
    long long tolerance = 0;  // seconds
    // What the router's lines are parsed with (the LAN prefix and the WAN address).
    std::string lanPrefix;
    std::string wanAddress;
};

inline constexpr size_t Unpaired = static_cast<size_t>(-1);

// For each of lines, the index of the line of others that is the same event, or Unpaired; a line
// of others goes to one line at most. lines are taken from the last to the first, each with the
// line of others of the same text and the nearest stamp (of two as near, the later one), else the
// nearest one the matching rules pair it with. An undated line ("hh:mm:ss text", written before
// the router knew the date) has no stamp to compare: it takes the last line of others whose text
// is the line, with or without its time.
std::vector<size_t> PairSameEvents(const std::vector<std::string>& lines, const std::vector<std::string>& others,
                                   const SameEventRules& rules);

// The router's pages hold a run of its newest lines; the capture holds what the router sent, in
// the order it came. Marks the captured lines that a page line holds, and returns the index of
// the first captured line a dated page line holds: where the pages begin in the capture
// (captured.size() when no dated page line is in the capture).
size_t FindPagesInCapture(const std::vector<std::string>& captured, const std::vector<std::string>& pageLines,
                          const SameEventRules& rules, std::vector<bool>& heldByPages);

// Where each of fill (captured lines a history file lacks, in the order they came) goes among
// the file's lines: its index in lines, before which it is inserted (lines.size(): at the end).
// A line goes after the last line that is not later than it, but never after the router's first
// line, routerFirst, when the file holds it: whatever the pages lack came before that line. The
// file is searched for routerFirst from its end back to the first dated line earlier than
// notBefore (the stamp of the router's first dated line).
std::vector<size_t> HistoryPlaces(const std::vector<std::string>& lines, const std::vector<std::string>& fill,
                                  std::string_view routerFirst, std::string_view notBefore);
