#pragma once

struct MainForm;

// "Save All": in standard mode writes every Incoming and Outgoing record into a new file in
// Stillbeacon's log folder.
void BSaveAll_Click(MainForm& F);
// "Save highlighted": in standard mode writes only the records the comparison found missing; in
// System Log mode ("Update SB logs") merges the records missing from Stillbeacon's day files.
void BSaveHilited_Click(MainForm& F);

// Writes the Incoming records, then the Outgoing ones, each list from its bottom row up, as
// Stillbeacon lines into a new file "Log yyyy-mm-dd hhnn.txt" in Stillbeacon's log folder.
// Undated rows borrow the time of the nearest dated row below them; with none, the save's time.
void SaveLogs(MainForm& F, bool highlightedOnly);
