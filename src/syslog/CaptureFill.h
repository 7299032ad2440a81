#pragma once
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "syslog/CaptureGaps.h"

// Fills the gaps of the router's System Log from the syslog receiver's capture files: the router
// keeps only its newest lines, so what it logged while more lines came than it holds, or before
// it restarted, is gone from its pages, but the receiver has it.
//
// The capture files read are those of the days from fromDay (the first day the refresh lists,
// or the day the history ends, whichever is earlier) to the day of the router's newest line. A
// captured line is filled in when the pages do not hold it and it came before the pages begin
// (the first captured line a dated page line holds; with none, when it is older than the router's
// first dated line by more than the tolerance), it is older than upperStamp, and the history files
// do not hold it already. Lines captured after the pages begin wait: they are on the pages, or
// will be by the next refresh, or, should the router's log wrap before it, are filled in then.
//
// Each line filled in goes into the history file of its day, in time order, before the router's
// first line when the file holds it: captured lines behind the newest history line are inserted
// (the file is replaced whole), the others appended. So the history stays in router order, and
// its last line still tells where the router's new lines begin.

struct CaptureFillSetup {
    std::string captureFolder;  // the program folder, where the receiver writes
    // Stillbeacon's folder with the history files; empty when no history is kept.
    std::string historyFolder;
    std::vector<std::string> historyNames;  // the history files there before the fill, in name order
    std::string fromDay;                    // "yyyy-mm-dd"
    std::string firstStamp;                 // the router's first dated line's stamp, now when none
    std::string upperStamp;                 // from this stamp on, lines wait for a later refresh
    SameEventRules rules;
    // Shows how far the reading got (0 to 1); true when the person asked to stop.
    std::function<bool(double)> progress;
};

struct CaptureFill {
    // The lines written into the history files, each with how often, for the reload to list.
    std::unordered_map<std::string, int> written;
    std::vector<std::string> namesWritten;  // the history files written, some perhaps new
    // Without history files: the lines to list, in the order they came, before the router's.
    std::vector<std::string> toList;
    // The capture files that could not be read, each "name (reason)"; their lines wait.
    std::vector<std::string> unreadable;
    // A history file that could not be read or written: the refresh ends with it.
    struct Failure {
        int number = 0;
        int step = 0;  // 10 reading, 40 writing
        std::string file, reason;
    };
    std::optional<Failure> failure;
};

// routerLines: the router's lines of this refresh, date-repaired, in page order.
CaptureFill FillFromCapture(const CaptureFillSetup& setup, const std::vector<std::string>& routerLines);
