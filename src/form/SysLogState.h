#pragma once
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

// What the System Log subsystem keeps between refreshes.
struct SysLogState {
    // Index of the last used row of the SysLog list; rows past it are room the list grew into.
    int SysRowCount = 0;
    // The "new records start here" separator was added in this refresh.
    bool NewMarkSet = false;
    // The router address up to and including its third ".", set at the start of each refresh.
    std::string LanPrefix;
    // Address of System Log page 0, rebuilt at the start of each refresh.
    std::string SysLogBaseURL;
    // The list took no more rows in this refresh.
    bool DisplayFull = false;
    // Counts of the last refresh, for the caption, the statistics row and the run summary; marking
    // by hand changes NotInSbLogs.
    int Listed = 0;
    int NewCount = 0;
    bool AllNewFromToday = true;
    int NotInSbLogs = 0;
    // Records marked (true) or unmarked (false) by hand since the refresh, by their record text.
    std::map<std::string, bool> HandMarks;
    // Sort keys of the rows the router gave without a date, dated after their neighbours; and of
    // those among them with no dated record after them, whose day is a guess until the router logs
    // one: they are neither merged nor exported before it is known, or a later refresh that knows
    // it would put the same record into a second day.
    std::unordered_set<std::string> InferredDateKeys;
    std::unordered_set<std::string> UnsettledDateKeys;
    // Sort keys of the rows this refresh added from the syslog receiver's capture files: lines the
    // router's pages no longer held.
    std::unordered_set<std::string> CapturedKeys;
    // Export lines of the records chosen for myNetWatchman and not written yet, oldest first, and
    // when they were chosen (LASTMNW's form).
    std::vector<std::string> MnwLines;
    std::string MnwChosenAt;
};
