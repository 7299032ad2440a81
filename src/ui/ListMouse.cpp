#include "ui/ListMouse.h"

#include <algorithm>
#include <array>

#include "form/MainForm.h"

namespace {

constexpr int kWheelRows = 3;

constexpr std::array<const char*, 12> kStatsExplanations = {
    "the timeframe you chose to Include in the list",
    "total # of events displayed",
    "# of new events since last time list was displayed",
    "# of events not yet in SB logs",
    "# of Incoming events in list",
    "# of Outgoing events in list",
    "# of events blocked or modified by Router",
    "# of routine messages in list",
    "# of events not displayed because you've told Stillbeacon \"Don't Log\" these",
    "# of Inbound events not yet saved for myNetWatchman",
    "# IP's for which no URL's were found",
    "# of events the Router's pages no longer held, added from the syslog receiver's capture",
};

// The first move after the answer appeared finds the cell the mouse rests on (where the menu
// item was, not always the cell looked up); the answer stays as long as the mouse does.
void HideLookupWhenAway(MainForm& F, const RecordGrid& list, const GridPoint& at) {
    if (!F.LLookup.Visible) return;
    ListDisplayState& d = F.display;
    if (d.LookupList == nullptr) {
        d.LookupList = &list;
        d.LookupRow = at.Row;
        d.LookupCol = at.Col;
    } else if (d.LookupList != &list || d.LookupRow != at.Row || d.LookupCol != at.Col) {
        HideLookupAnswer(F);
    }
}

void ShowWholeCellText(MainForm& F, RecordGrid& list, const GridPoint& at) {
    if (at.Row == F.display.TipRow && at.Col == F.display.TipCol) return;
    F.display.TipRow = at.Row;
    F.display.TipCol = at.Col;
    list.ToolTipText.clear();
    if (at.Row < 1 || at.Col < 0 || at.Row >= list.Rows() || at.Col >= list.Cols()) return;
    const std::string_view text = list.TextMatrix(at.Row, at.Col);
    if (F.ui.TextWidth(text) > list.ColWidth(at.Col)) list.ToolTipText = text;
}

void ListMouseMove(MainForm& F, RecordGrid& list, const GridPoint& at) {
    ShowWholeCellText(F, list, at);
    HideLookupWhenAway(F, list, at);
}

}  // namespace

void HideLookupAnswer(MainForm& F) {
    F.LLookup.Visible = false;
}

void Form_MouseDown(MainForm& F) {
    HideLookupAnswer(F);
}

void MouseWheel(MainForm& F, int rotation) {
    HideLookupAnswer(F);
    RecordGrid& list = F.SysLog;
    if (!list.HasRecords()) return;
    // Three of the rows the list shows: those the filter hides (height 0) take no step.
    const int step = rotation < 1 ? 1 : -1;
    int top = list.TopRow();
    for (int moved = 0; moved < kWheelRows;) {
        int next = top + step;
        while (next >= 1 && next < list.Rows() && list.RowHeight(next) == 0) next += step;
        if (next < 1 || next >= list.Rows()) break;
        top = next;
        ++moved;
    }
    list.SetTopRow(top);
}

void InLog_MouseMove(MainForm& F, const GridPoint& at) {
    ListMouseMove(F, F.InLog, at);
}
void OutLog_MouseMove(MainForm& F, const GridPoint& at) {
    ListMouseMove(F, F.OutLog, at);
}
void SysLog_MouseMove(MainForm& F, const GridPoint& at) {
    ListMouseMove(F, F.SysLog, at);
}

void ListColumn_Resize(MainForm& F, RecordGrid& list, int col, int twips) {
    list.SetColWidth(col, twips);
    ListDisplayState& d = F.display;
    if (&list == &F.SysLog) d.SysLogWidths[col] = twips;
    if (&list == &F.InLog) d.InLogWidths[col] = twips;
    if (&list == &F.OutLog) d.OutLogWidths[col] = twips;
    if (&list == &F.InLog || &list == &F.OutLog) d.StdWidthsChanged = true;
}

void SysStats_MouseMove(MainForm& F, const GridPoint& at) {
    const bool known = at.Col >= 0 && at.Col < static_cast<int>(kStatsExplanations.size());
    F.SysStats.ToolTipText = known ? kStatsExplanations[static_cast<size_t>(at.Col)] : "";
}
