#pragma once
#include <string>

#include "form/ListDisplayState.h"

class RecordGrid;
struct MainForm;

// What a copy item puts on the clipboard: the text before the first "(" (an address shown with
// its name gives the address alone).
std::string CopyText(std::string_view cell);

// "Copy rows": the header and every row the list shows (not those the filter hides, nor the day
// separators), the columns the list shows, tab-separated, one line each, so that it pastes into a
// spreadsheet.
std::string ListedRowsText(const RecordGrid& list);

// A click on a System Log cell opens the menu only on a record's address or message cell that
// holds something other than "?".
bool SysLogCellOpensMenu(const RecordGrid& list, int row, int col);

// Mouse button released over a list. On a record row it makes the row (and for the System Log
// list the cell) current and opens the list's menu; on the System Log list's header it sorts.
void InLog_MouseUp(MainForm& F, const GridPoint& at);
void OutLog_MouseUp(MainForm& F, const GridPoint& at);
void SysLog_MouseUp(MainForm& F, const GridPoint& at);
void SysLog_Click(MainForm& F, const GridPoint& at);

void mpopInCopy_Click(MainForm& F);
void mpopOutCopy_Click(MainForm& F);
void mpopSysCopy_Click(MainForm& F);
void mpopInCopyRows_Click(MainForm& F);
void mpopOutCopyRows_Click(MainForm& F);
void mpopSysCopyRows_Click(MainForm& F);
void mpopInLookup_Click(MainForm& F);
void mpopOutLookup_Click(MainForm& F);
void mpopSysLookup_Click(MainForm& F);
// Marking by hand: the current record, or every record similar to it (see SysMark).
void mpopSysMark_Click(MainForm& F);
void mpopSysMarkAll_Click(MainForm& F);
void mpopSysUnmark_Click(MainForm& F);
void mpopSysUnmarkAll_Click(MainForm& F);

// Runs the handler of a menu item chosen by name; unknown names do nothing.
void PopupMenuItem_Click(MainForm& F, const std::string& item);
