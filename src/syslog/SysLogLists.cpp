#include "syslog/SysLogLists.h"

#include <array>
#include <cmath>

#include "form/MainForm.h"
#include "form/SysLogRecord.h"
#include "router/WanMonitor.h"

namespace {

using Align = RecordGrid::Alignment;

constexpr std::array<const char*, SysLogColumns> kSysLogCaptions = {
    "Date",   "Time",    "Dir", "Prot", "Rem IP Addr", "Remote URL", "R Port", "Local Addr",
    "L Port", "Message", "",    ""};
constexpr std::array<const char*, SysStatsColumns> kStatsCaptions = {
    "Timeframe", "Listed",  "New", "Not in SB Logs", "Incoming", "Outgoing", "Warnings",
    "Messages",  "Ignored", "mNW", "No URL", "Captured"};
constexpr int MnwStatColumn = 9;
// Room for a cell's margins, so a column sized by a sample text shows the text whole.
constexpr int CellMargin = 120;

int DefaultSysLogWidth(MainForm& F, int col) {
    const int m = F.ui.TextWidth("M");
    auto sample = [&](const char* text) { return F.ui.TextWidth(text) + CellMargin; };
    switch (col) {
        case SysLogRecord::Date:
            return sample("0000-00-000");
        case SysLogRecord::Time:
            return sample("00:00:000");
        case SysLogRecord::Dir:
            return 2 * m + CellMargin;
        case SysLogRecord::Prot:
            return static_cast<int>(std::lround(3.3 * m)) + CellMargin;
        case SysLogRecord::RemAddr:
        case SysLogRecord::LocalAddr:
            return sample("000.000.000.0000");
        case SysLogRecord::RemURL:
            return 16 * m;
        case SysLogRecord::RPort:
        case SysLogRecord::LPort:
            return 4 * m + CellMargin;
        case SysLogRecord::Message:
            return 9 * m;
        default:
            return 0;
    }
}

void SetUpSysLogList(MainForm& F) {
    RecordGrid& list = F.SysLog;
    list.SetRows(1);
    list.SetCols(SysLogColumns);
    for (int c = 0; c < SysLogColumns; ++c) {
        list.SetTextMatrix(0, c, kSysLogCaptions[static_cast<size_t>(c)]);
        list.SetCellAlignmentAt(0, c, Align::Center);
        // A width set by hand since the start, or else the one stored in the settings file.
        const auto& stored = F.ColumnWidthSnapshot[static_cast<size_t>(c)];
        const auto setByHand = F.display.SysLogWidths.find(c);
        const bool hidden = c == SysLogRecord::RowTag || c == SysLogRecord::SortKey;
        list.SetColWidth(c, hidden                                      ? 0
                            : setByHand != F.display.SysLogWidths.end() ? setByHand->second
                            : stored                                    ? *stored
                                                                        : DefaultSysLogWidth(F, c));
    }
    list.SetColAlignment(SysLogRecord::Message, Align::Left);
    list.SetColAlignment(SysLogRecord::SortKey, Align::Right);
}

void SetUpStatsList(MainForm& F) {
    RecordGrid& stats = F.SysStats;
    stats.SetRows(2);
    stats.SetCols(SysStatsColumns);
    for (int c = 0; c < SysStatsColumns; ++c) {
        stats.SetTextMatrix(0, c, kStatsCaptions[static_cast<size_t>(c)]);
        stats.SetCellAlignmentAt(0, c, Align::Center);
        stats.SetTextMatrix(1, c, "");
        stats.SetColAlignment(c, Align::Center);
    }
    FitStatsColumns(F);
}

int StatsWidth(MainForm& F, const char* padding) {
    int total = 0;
    for (int c = 0; c < SysStatsColumns; ++c)
        if (c != MnwStatColumn || F.CmnW.Value)
            total += F.ui.TextWidth(padding + std::string(kStatsCaptions[c]));
    return total;
}

}  // namespace

void FitStatsColumns(MainForm& F) {
    RecordGrid& stats = F.SysStats;
    if (stats.Cols() != SysStatsColumns) return;
    const char* padding = StatsWidth(F, "      ") <= stats.Width - CellMargin ? "      " : "  ";
    for (int c = 0; c < SysStatsColumns; ++c) {
        const bool shown = c != MnwStatColumn || F.CmnW.Value;
        stats.SetColWidth(
            c, shown ? F.ui.TextWidth(padding + std::string(kStatsCaptions[static_cast<size_t>(c)])) : 0);
    }
}

void ClearSysLog(MainForm& F) {
    F.SysLog.SetRows(1);
    F.syslog.SysRowCount = 0;
}

void SysLogSetup(MainForm& F) {
    F.WanAddress = GetWan(F);
    F.InLog.Visible = false;
    F.OutLog.Visible = false;
    F.InCaption.Visible = false;
    F.OutCaption.Visible = false;
    SetUpStatsList(F);
    SetUpSysLogList(F);
    F.syslog.SysRowCount = 0;
    F.SysStats.Visible = true;
    F.SysLog.Visible = true;
    F.SysCaption.Visible = true;
    F.commands.Relayout(F);
}
