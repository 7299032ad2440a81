#pragma once
#include <string>

struct MainForm;

// What a save wrote: how many records, into which file; no path when it wrote no file.
struct SavedRecords {
    int records = 0;
    std::string path;
};

// Writes the Incoming records, then the Outgoing ones, each list from its bottom row up, as
// Stillbeacon lines into a new file "Log yyyy-mm-dd hhnn.txt" in Stillbeacon's log folder.
// Undated rows borrow the time of the nearest dated row below them; with none, the save's time.
// A highlighted record is saved once: it loses its highlight when its file is written, so a
// second "Save highlighted" with nothing new writes no file.
SavedRecords SaveLogs(MainForm& F, bool highlightedOnly);
