#pragma once
#include <string>
#include <vector>

// What the last merge into Stillbeacon's day files did, for the unattended run's summary line.
struct DayFileMergeSummary {
    struct Day {
        std::string file;    // "Log yyyy-mm-dd.txt"
        int linesAdded = 0;  // lines the file did not hold before, record and message lines alike
    };
    std::vector<Day> days;  // each day file written, in the order written
    // False when a day could not be read or written: that day and every later one were left as
    // they were, and their records are still tagged for the next merge.
    bool complete = true;
};

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
    // Counts of the last refresh, for the caption, the statistics row and the run summary.
    int NewCount = 0;
    int NotInSbLogs = 0;
    DayFileMergeSummary LastMerge;
    // Export lines of the records chosen for myNetWatchman, newest first.
    std::vector<std::string> MnwLines;
};
