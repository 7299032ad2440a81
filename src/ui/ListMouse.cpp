#include "ui/ListMouse.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "form/MainForm.h"

namespace {

constexpr int kWheelRows = 3;
// How far (twips) the mouse may move from where a lookup was asked before its answer goes.
constexpr int kLookupStay = 300;

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

void HideLookupWhenAway(MainForm& F, const RecordGrid& list, const GridPoint& at) {
    if (!F.LLookup.Visible) return;
    const int dx = list.Left + at.X - F.display.LookupX;
    const int dy = list.Top + at.Y - F.display.LookupY;
    if (std::abs(dx) > kLookupStay || std::abs(dy) > kLookupStay) F.LLookup.Visible = false;
}

void ShowWholeCellText(MainForm& F, RecordGrid& list, const GridPoint& at) {
    if (at.Row == F.display.TipRow && at.Col == F.display.TipCol) return;
    F.display.TipRow = at.Row;
    F.display.TipCol = at.Col;
    list.ToolTipText.clear();
    if (at.Row < 1 || at.Col < 0 || at.Row >= list.Rows() || at.Col >= list.Cols()) return;
    const std::string& text = list.TextMatrix(at.Row, at.Col);
    if (F.ui.TextWidth(text) > list.ColWidth(at.Col)) list.ToolTipText = text;
}

void ListMouseMove(MainForm& F, RecordGrid& list, const GridPoint& at) {
    ShowWholeCellText(F, list, at);
    HideLookupWhenAway(F, list, at);
}

}  // namespace

void MouseWheel(MainForm& F, int rotation) {
    RecordGrid& list = F.SysLog;
    if (!list.HasRecords()) return;
    const int top = rotation < 1 ? std::min(list.TopRow() + kWheelRows, list.Rows() - 1)
                                 : std::max(list.TopRow() - kWheelRows, 1);
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

void SysStats_MouseMove(MainForm& F, const GridPoint& at) {
    const bool known = at.Col >= 0 && at.Col < static_cast<int>(kStatsExplanations.size());
    F.SysStats.ToolTipText = known ? kStatsExplanations[static_cast<size_t>(at.Col)] : "";
}
