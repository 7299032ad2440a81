#pragma once

struct MainForm;

// The two save buttons, whose work depends on the list shown.

// "Save All": writes every Incoming and Outgoing record into a new file in Stillbeacon's log
// folder; in System Log mode ("Update mNW log") writes the records chosen for myNetWatchman.
void BSaveAll_Click(MainForm& F);
// "Save highlighted": writes the records the comparison found missing into a new file in
// Stillbeacon's log folder; in System Log mode ("Update SB logs") merges the records missing from
// Stillbeacon's day files, then refreshes, so the list is matched with them again; what was marked
// or unmarked by hand and not carried out by the merge stays so.
void BSaveHilited_Click(MainForm& F);
