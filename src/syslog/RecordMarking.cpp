#include "syslog/RecordMarking.h"

#include <algorithm>

#include "form/MainForm.h"
#include "form/SysLogRecord.h"
#include "syslog/SysLogFinish.h"

namespace {

using R = SysLogRecord;

// As the refresh paints a record: the mark's colour, over which a warning keeps its Message's
// colour and a record chosen for myNetWatchman its address's.
void PaintRecord(RecordGrid& list, int row, Colour colour) {
    const bool chosenForMnw = list.CellBackColorAt(row, R::RemAddr) == MnwColour;
    for (int c = 0; c <= R::Message && c < list.Cols(); ++c) {
        if (c != R::Dir) list.SetCellBackColorAt(row, c, colour);
    }
    if (IsWarningRow(list, row)) list.SetCellBackColorAt(row, R::Message, WarnColour);
    if (chosenForMnw) list.SetCellBackColorAt(row, R::RemAddr, MnwColour);
}

bool IsMessage(const RecordGrid& list, int row) {
    return list.TextMatrix(row, R::Dir) == "M";
}

// A message's key: its text up to and including the first ":", all of it when it has none.
std::string_view MessageKey(std::string_view message) {
    const size_t colon = message.find(':');
    return colon == std::string_view::npos ? message : message.substr(0, colon + 1);
}

bool SameNonEmpty(std::string_view a, std::string_view b) {
    return !a.empty() && a == b;
}

std::string_view AddressPart(std::string_view cell) {
    return cell.substr(0, cell.find('('));
}

// Marks or unmarks rows; returns how many changed, and remembers each as a choice made by hand.
int Mark(MainForm& F, const std::vector<int>& rows, bool marking) {
    int changed = 0;
    for (int r : rows) {
        if (!(marking ? MarkRow(F.SysLog, r) : UnmarkRow(F.SysLog, r))) continue;
        ++changed;
        F.syslog.HandMarks[RecordText(F.SysLog, r)] = marking;
    }
    return changed;
}

void ShowCount(MainForm& F, int count) {
    count = std::max(count, 0);
    ShowNotInSbLogs(F, count);
    F.BSaveHilited.Enabled = count > 0;
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
    const std::string_view key = MessageKey(list.TextMatrix(row, R::Message));
    const std::string_view address = list.TextMatrix(row, R::RemAddr);
    const std::string_view name = list.TextMatrix(row, R::RemURL);
    for (int r = 1; r < list.Rows(); ++r) {
        if (IsSeparatorRow(list, r) || IsMessage(list, r) != message) continue;
        const bool alike = message ? list.TextMatrix(r, R::Message).starts_with(key)
                                   : SameNonEmpty(list.TextMatrix(r, R::RemAddr), address) ||
                                         SameNonEmpty(list.TextMatrix(r, R::RemURL), name);
        if (alike) similar.push_back(r);
    }
    return similar;
}

std::string RecordText(const RecordGrid& list, int row) {
    std::string text;
    for (int c = 0; c <= R::Message; ++c) {
        if (c == R::RemURL) continue;  // a lookup may fill it in later
        const std::string_view cell = list.TextMatrix(row, c);
        text += c == R::RemAddr || c == R::LocalAddr ? AddressPart(cell) : cell;
        text += '\t';
    }
    return text;
}

void SysMark(MainForm& F, int action) {
    RecordGrid& list = F.SysLog;
    list.SetRedraw(false);
    const int row = list.Row(), col = list.Col();
    const bool marking = action == MarkThis || action == MarkAllSimilar;
    std::vector<int> rows;
    if (action == MarkThis || action == UnmarkThis) {
        rows.push_back(row);
    } else if (action == MarkAllSimilar || action == UnmarkAllSimilar) {
        rows = SimilarRows(list, row);
    }
    const int changed = Mark(F, rows, marking);
    list.SetRow(row);
    list.SetCol(col);
    ShowCount(F, F.syslog.NotInSbLogs + (marking ? changed : -changed));
    list.SetRedraw(true);
}

std::map<std::string, bool> HandMarksNotCarriedOut(const MainForm& F) {
    std::map<std::string, bool> marks = F.syslog.HandMarks;
    for (int row = 1; row < F.SysLog.Rows(); ++row) {
        const auto found = marks.find(RecordText(F.SysLog, row));
        if (found != marks.end() && found->second && F.SysLog.TextMatrix(row, R::RowTag) != "R")
            marks.erase(found);
    }
    return marks;
}

void ReapplyHandMarks(MainForm& F, const std::map<std::string, bool>& marks) {
    if (marks.empty()) return;
    std::vector<int> marked, unmarked;
    for (int row = 1; row < F.SysLog.Rows(); ++row) {
        const auto found = marks.find(RecordText(F.SysLog, row));
        if (found != marks.end()) (found->second ? marked : unmarked).push_back(row);
    }
    const int added = Mark(F, marked, true);
    const int taken = Mark(F, unmarked, false);
    ShowCount(F, F.syslog.NotInSbLogs + added - taken);
}
