#pragma once

struct MainForm;

// Number of columns of the System Log list (ten shown, the tag and the sort key hidden) and of
// its statistics row.
inline constexpr int SysLogColumns = 12;
inline constexpr int SysStatsColumns = 12;

// Puts the window into System Log mode: learns the WAN address from the status page, hides the
// Incoming and Outgoing lists, lays out the statistics row and the System Log list (captions,
// stored or default column widths) and empties the list.
void SysLogSetup(MainForm& F);

// Sizes the statistics columns: six blanks beside each caption, or two when that does not fit
// the list's width. The "mNW" column shows only with "Create mNW log file".
void FitStatsColumns(MainForm& F);

// Empties the System Log list down to its header row.
void ClearSysLog(MainForm& F);
