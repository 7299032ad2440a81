#pragma once
#include <string>

#include "form/RecordGrid.h"

struct MainForm;

// The end of every System Log refresh: gives undated rows a date, drops day separators that no
// longer separate two days, sorts the list newest first, matches it with Stillbeacon's logs when
// "Compare with SB logs" is checked, paints warnings and fills the statistics row and caption.
void SysLogFinish(MainForm& F);

// Rows that carry no record (the blue and magenta separators), drawn lower than records.
bool IsSeparatorRow(const RecordGrid& list, int row);
inline constexpr int SeparatorRowHeight = RecordGrid::DefaultRowHeight / 3;

// An inbound or outbound record with a router message: an event the router blocked or changed.
bool IsWarningRow(const RecordGrid& list, int row);

// Shows how many records Stillbeacon's logs lack, the same number in the statistics row and the
// caption.
void ShowNotInSbLogs(MainForm& F, int count);

// The counts of the statistics row.
struct SysLogCounts {
    int listed = 0, fresh = 0, incoming = 0, outgoing = 0, warnings = 0, messages = 0, ignored = 0;
    bool allFreshFromToday = true;
};
// Counts the rows (newest first, as sorted) and paints warnings' Message cells.
SysLogCounts CountAndPaint(RecordGrid& list, const std::string& today);
