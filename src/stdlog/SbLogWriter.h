#pragma once

struct MainForm;

// Writes the Incoming records, then the Outgoing ones, each list from its bottom row up, as
// Stillbeacon lines into a new file "Log yyyy-mm-dd hhnn.txt" in Stillbeacon's log folder.
// Undated rows borrow the time of the nearest dated row below them; with none, the save's time.
void SaveLogs(MainForm& F, bool highlightedOnly);
