#include "syslog/SysLogFinish.h"

#include <charconv>
#include <iterator>
#include <unordered_set>

#include "form/Colours.h"
#include "form/MainForm.h"
#include "form/RunSummary.h"
#include "form/SysLogRecord.h"
#include "sblog/SbLogFolder.h"
#include "syslog/SysLogMatching.h"

namespace {

using R = SysLogRecord;

constexpr const char* Undated = "0000-00-00";
// The statistics columns filled here; mNW (9) is the export's, No URL (10) the refresh's lookups'.
enum StatColumn {
    Timeframe,
    Listed,
    New,
    NotInSb,
    Incoming,
    Outgoing,
    Warnings,
    Messages,
    Ignored,
    Captured = 11
};

bool IsRecordRow(const RecordGrid& list, int row) {
    return !IsSeparatorRow(list, row);
}

// The key is the row's place in the list as it was built, oldest first.
void SetKey(RecordGrid& list, int row) {
    char text[16];
    const std::string_view key(text,
                               static_cast<size_t>(std::to_chars(text, std::end(text), row).ptr - text));
    if (list.TextMatrix(row, R::SortKey) != key) list.SetTextMatrix(row, R::SortKey, key);
}

// Gives each row its key. Rows the router gave without a date (it had no clock yet, as after a
// restart) take the date of the next dated record, which the router wrote once its clock was set;
// the last ones, with none after them, take the date of the record before them, which is only a
// guess. Notes the sort keys of the rows dated, and of the guessed ones. A list of many thousand
// rows is walked once, as rarely any row is left undated at its end.
void KeyAndDateRows(RecordGrid& list, const std::string& today, SysLogState& state) {
    state.InferredDateKeys.clear();
    state.UnsettledDateKeys.clear();
    // Views of rows other than the one written, which writing leaves as they are.
    std::string_view next;
    bool unsettled = false;  // undated rows with no dated record after them
    for (int row = list.Rows() - 1; row >= 1; --row) {
        SetKey(list, row);
        const std::string_view date = list.TextMatrix(row, R::Date);
        if (date == Undated) {
            state.InferredDateKeys.insert(std::string(list.TextMatrix(row, R::SortKey)));
            if (!next.empty()) {
                list.SetTextMatrix(row, R::Date, next);
            } else {
                unsettled = true;
            }
        } else if (!date.empty()) {
            next = date;
        }
    }
    if (!unsettled) return;
    std::string_view previous = today;
    for (int row = 1; row < list.Rows(); ++row) {
        const std::string_view date = list.TextMatrix(row, R::Date);
        if (date == Undated) {
            state.UnsettledDateKeys.insert(std::string(list.TextMatrix(row, R::SortKey)));
            list.SetTextMatrix(row, R::Date, previous);
        } else if (!date.empty()) {
            previous = date;
        }
    }
}

// Removes blue separators whose neighbours are of the same day, and a separator that ends the list;
// the separators kept are drawn lower than records.
void TidySeparators(RecordGrid& list) {
    std::vector<int> keep;
    keep.reserve(static_cast<size_t>(list.Rows()));
    std::string_view lastDate;  // no text is written here, so the view stays valid
    for (int row = 1; row < list.Rows(); ++row) {
        if (IsRecordRow(list, row)) {
            keep.push_back(row);
            lastDate = list.TextMatrix(row, R::Date);
            continue;
        }
        if (list.CellBackColorAt(row, R::Date) == DayChangeColour) {
            int nextRecord = row + 1;
            while (nextRecord < list.Rows() && !IsRecordRow(list, nextRecord)) ++nextRecord;
            if (nextRecord >= list.Rows() || list.TextMatrix(nextRecord, R::Date) == lastDate) continue;
        }
        keep.push_back(row);
        list.SetRowHeight(row, SeparatorRowHeight);
    }
    if (keep.size() + 1 < static_cast<size_t>(list.Rows())) list.KeepRows(keep);
}

std::string TimeframeName(const MainForm& F) {
    static const char* const names[] = {"All", "New", "2 days", "1 week"};
    for (size_t i = 0; i < F.Include.size(); ++i)
        if (F.Include[i].Value) return names[i];
    return names[0];
}

void SetStat(RecordGrid& stats, int col, int value, Colour paintWhenAny) {
    stats.SetTextMatrix(1, col, std::to_string(value));
    if (paintWhenAny != White) stats.SetCellBackColorAt(1, col, value >= 1 ? paintWhenAny : White);
}

void FillStats(MainForm& F, const SysLogCounts& c, int captured) {
    RecordGrid& s = F.SysStats;
    if (s.Rows() < 2) s.SetRows(2);
    s.SetTextMatrix(1, Timeframe, TimeframeName(F));
    SetStat(s, Listed, c.listed, White);
    SetStat(s, New, c.fresh, White);
    SetStat(s, Incoming, c.incoming, White);
    SetStat(s, Outgoing, c.outgoing, White);
    SetStat(s, Warnings, c.warnings, WarnColour);
    SetStat(s, Messages, c.messages, White);
    SetStat(s, Ignored, c.ignored, IgnoreColour);
    SetStat(s, Captured, captured, CapturedColour);
}

// Paints the Dir cell of the rows the capture filled in, which matching, marking and the export
// leave as it is, and counts them.
int PaintCaptured(RecordGrid& list, const std::unordered_set<std::string>& keys) {
    if (keys.empty()) return 0;
    int count = 0;
    for (int row = 1; row < list.Rows(); ++row) {
        if (!keys.contains(std::string(list.TextMatrix(row, R::SortKey)))) continue;
        list.SetCellBackColorAt(row, R::Dir, CapturedColour);
        ++count;
    }
    return count;
}

std::string Caption(const SysLogState& s) {
    std::string text =
        "System Log  (" + std::to_string(s.Listed) + " entries,  " + std::to_string(s.NewCount);
    text += s.AllNewFromToday ? " new, " : " new (not all today's), ";
    return text + std::to_string(s.NotInSbLogs) + " not in SB logs)";
}

// What the unattended run's summary line reports of this refresh.
void NoteSummary(MainForm& F, int listed, int captured, int notInSb, const std::string& folderProblem) {
    RunSummary& s = F.Summary;
    s.Read = RunSummary::Source::SystemLog;
    s.SysLogListed = listed;
    s.SysLogCaptured = captured;
    s.SysLogFlagged = notInSb;
    s.NotCompared.clear();
    if (!F.CompSB.Value) {
        s.NotCompared = "\"Compare with SB logs\" is off";
    } else if (listed > 0 && !folderProblem.empty()) {
        s.NotCompared = folderProblem;
    }
}

}  // namespace

bool IsSeparatorRow(const RecordGrid& list, int row) {
    return list.TextBytes(row, R::RowTag + 1) == 0;
}

bool IsWarningRow(const RecordGrid& list, int row) {
    const std::string_view dir = list.TextMatrix(row, R::Dir);
    return (dir == "I" || dir == "O" || dir == "P" || dir == "B") &&
           !list.TextMatrix(row, R::Message).empty();
}

void ShowNotInSbLogs(MainForm& F, int count) {
    F.syslog.NotInSbLogs = count;
    if (F.SysStats.Rows() < 2) F.SysStats.SetRows(2);
    if (F.SysStats.Cols() > NotInSb) SetStat(F.SysStats, NotInSb, count, FlagColour);
    F.SysCaption.Caption = Caption(F.syslog);
}

SysLogCounts CountAndPaint(RecordGrid& list, const std::string& today) {
    SysLogCounts c;
    bool fresh = false;
    for (int row = list.Rows() - 1; row >= 1; --row) {
        if (!IsRecordRow(list, row)) {
            if (list.CellBackColorAt(row, R::Date) == NewRecordsColour) fresh = true;
            continue;
        }
        ++c.listed;
        if (fresh) {
            ++c.fresh;
            if (list.TextMatrix(row, R::Date) != today) c.allFreshFromToday = false;
        }
        const std::string_view dir = list.TextMatrix(row, R::Dir);
        const std::string_view message = list.TextMatrix(row, R::Message);
        if (list.TextMatrix(row, R::RowTag) == "N") {
            ++c.ignored;
        } else if (dir == "O" || dir == "B") {
            ++c.outgoing;
        } else if (dir == "I" || dir == "P") {
            ++c.incoming;
        } else if (dir == "M" && message.find("Firmware upgraded unsuccessfully") == std::string::npos) {
            ++c.messages;
        }
        if (IsWarningRow(list, row)) {
            ++c.warnings;
            list.SetCellBackColorAt(row, R::Message, WarnColour);
        }
    }
    return c;
}

void SysLogFinish(MainForm& F) {
    RecordGrid& list = F.SysLog;
    const std::string today = F.clock.Now().date().toString("yyyy-MM-dd").toStdString();
    // The list grew in steps; the rows past the last one used hold nothing.
    list.SetRows(F.syslog.SysRowCount + 1);
    // The list was built oldest first; the key is that order, so the newest record ends on top.
    KeyAndDateRows(list, today, F.syslog);
    TidySeparators(list);
    F.syslog.SysRowCount = list.Rows() - 1;
    // The keys ascend with the rows: newest first is the list turned round.
    list.ReverseRows(1);
    // Newest first is the order of a sort by date, newest first: the sort arrow says so, and a
    // click on the Date header turns it round.
    F.display.SortColumn = R::Date;
    F.display.SortOrder = TextDescending;

    const std::string folderProblem = SbLogFolderProblem(F);
    const int notInSb = F.CompSB.Value && folderProblem.empty() ? SysLogMatch(F) : 0;
    const SysLogCounts counts = CountAndPaint(list, today);
    const int captured = PaintCaptured(list, F.syslog.CapturedKeys);
    F.syslog.Listed = counts.listed;
    F.syslog.NewCount = counts.fresh;
    F.syslog.AllNewFromToday = counts.allFreshFromToday;
    FillStats(F, counts, captured);
    ShowNotInSbLogs(F, notInSb);
    NoteSummary(F, counts.listed, captured, notInSb, folderProblem);
    F.BReplaceToday.Enabled = F.CSaveSysLog.Value;
}
