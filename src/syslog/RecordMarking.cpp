#include "syslog/RecordMarking.h"

#include <cstdlib>

#include "form/MainForm.h"
#include "form/SysLogRecord.h"
#include "syslog/SysLogFinish.h"

namespace {

using R = SysLogRecord;

// The "Not in SB Logs" value of the statistics row.
constexpr int kStatsRow = 1;
constexpr int kNotInSbColumn = 3;

void PaintRecord(RecordGrid& list, int row, Colour colour) {
    for (int c = 0; c <= R::Message && c < list.Cols(); ++c) {
        if (c != R::Dir) list.SetCellBackColorAt(row, c, colour);
    }
}

bool IsMessage(const RecordGrid& list, int row) {
    return list.TextMatrix(row, R::Dir) == "M";
}

// A message's key: its text up to and including the first ":", all of it when it has none.
std::string MessageKey(const std::string& message) {
    const size_t colon = message.find(':');
    return colon == std::string::npos ? message : message.substr(0, colon + 1);
}

bool SameNonEmpty(const std::string& a, const std::string& b) {
    return !a.empty() && a == b;
}

int ReadCount(const RecordGrid& stats) {
    if (stats.Rows() <= kStatsRow || stats.Cols() <= kNotInSbColumn) return 0;
    return std::atoi(stats.TextMatrix(kStatsRow, kNotInSbColumn).c_str());
}

void WriteCount(RecordGrid& stats, int count) {
    if (stats.Rows() <= kStatsRow || stats.Cols() <= kNotInSbColumn) return;
    stats.SetTextMatrix(kStatsRow, kNotInSbColumn, std::to_string(count));
    stats.SetCellBackColorAt(kStatsRow, kNotInSbColumn, count > 0 ? FlagColour : White);
}

}  // namespace

bool MarkRow(RecordGrid& list, int row) {
    if (row < 1 || row >= list.Rows() || IsSeparatorRow(list, row)) return false;
    if (list.TextMatrix(row, R::RowTag) == "R") return false;
    list.SetTextMatrix(row, R::RowTag, "R");
    PaintRecord(list, row, FlagColour);
    return true;
}

bool UnmarkRow(RecordGrid& list, int row) {
    if (row < 1 || row >= list.Rows()) return false;
    // Only a mark counts: a row hidden by the "don't log" lists ("N") was never in the count.
    if (list.TextMatrix(row, R::RowTag) != "R") return false;
    list.SetTextMatrix(row, R::RowTag, "");
    PaintRecord(list, row, White);
    return true;
}

std::vector<int> SimilarRows(const RecordGrid& list, int row) {
    std::vector<int> similar;
    if (row < 1 || row >= list.Rows() || IsSeparatorRow(list, row)) return similar;
    const bool message = IsMessage(list, row);
    const std::string key = MessageKey(list.TextMatrix(row, R::Message));
    const std::string& address = list.TextMatrix(row, R::RemAddr);
    const std::string& name = list.TextMatrix(row, R::RemURL);
    for (int r = 1; r < list.Rows(); ++r) {
        if (IsSeparatorRow(list, r) || IsMessage(list, r) != message) continue;
        const bool alike = message ? list.TextMatrix(r, R::Message).starts_with(key)
                                   : SameNonEmpty(list.TextMatrix(r, R::RemAddr), address) ||
                                         SameNonEmpty(list.TextMatrix(r, R::RemURL), name);
        if (alike) similar.push_back(r);
    }
    return similar;
}

void SysMark(MainForm& F, int action) {
    RecordGrid& list = F.SysLog;
    int count = ReadCount(F.SysStats);
    list.SetRedraw(false);
    const int row = list.Row(), col = list.Col();
    const bool marking = action == MarkThis || action == MarkAllSimilar;
    std::vector<int> rows;
    if (action == MarkThis || action == UnmarkThis) {
        rows.push_back(row);
    } else if (action == MarkAllSimilar || action == UnmarkAllSimilar) {
        rows = SimilarRows(list, row);
    }
    for (int r : rows) {
        if (marking && MarkRow(list, r)) ++count;
        if (!marking && UnmarkRow(list, r)) --count;
    }
    list.SetRow(row);
    list.SetCol(col);
    count = std::max(count, 0);
    WriteCount(F.SysStats, count);
    F.syslog.NotInSbLogs = count;
    F.BSaveHilited.Enabled = count > 0;
    list.SetRedraw(true);
}
