#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

// The logs the simulated router shows, as read from a records file (format in SimUsage()).
struct SimRecords {
    std::vector<std::vector<std::string>> incoming, outgoing;  // table rows, raw cells
    std::vector<std::string> syslog;                           // router lines, oldest first
    std::optional<std::string> wan;
    std::optional<std::string> clock;  // "yyyy-mm-dd hh:mm:ss" or a signed offset in seconds
    std::set<int> failingPages;        // System Log pages (1 = the first) that answer empty
};

// Parses the text of a records file; on a fault returns false with a message naming the line.
bool ParseSimRecords(const std::string& text, SimRecords& out, std::string& error);
// Reads and parses a file; an empty path gives empty logs.
bool LoadSimRecords(const std::string& path, SimRecords& out, std::string& error);
