#include "syslog/SysLogAdmission.h"

#include <array>
#include <charconv>
#include <iterator>

#include "form/Colours.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "form/RecordGrid.h"
#include "form/SysLogState.h"
#include "sblog/HiddenLists.h"
#include "syslog/RouterLineParser.h"
#include "text/AddressText.h"
#include "text/SysLogText.h"

namespace {

using R = SysLogRecord;

constexpr int PaintedColumns = 10;  // columns 0-9; the tag and the key stay white

bool ContainsDrop(std::string_view message) {
    return syslogtext::ContainsNoCase(message, "drop");
}

bool PassesDisplayFilters(const SysLogRecordView& r, const AdmissionOptions& o) {
    const std::string_view dir = r[R::Dir];
    const bool warning = !r[R::Message].empty() && o.showWarnings;
    if (dir == "O" && !o.showOut && !warning) return false;
    if (dir == "I" && !o.showIn && !warning) return false;
    if (!o.showMessages && (dir == "M" || dir.empty())) return false;
    return true;
}

// The record's direction, or its subtype: B for an outbound one the router dropped, P for an
// inbound one to another address than the WAN address that it did not drop.
std::string_view SubtypeOf(const SysLogRecordView& r, const std::string& wanAddress) {
    const std::string_view dir = r[R::Dir];
    if (dir == "O" && ContainsDrop(r[R::Message])) return "B";
    if (dir == "I" && !r[R::LocalAddr].empty() && r[R::LocalAddr] != wanAddress &&
        !ContainsDrop(r[R::Message]))
        return "P";
    return dir;
}

// Whether Stillbeacon's don't-log lists would keep this record out of its logs.
bool HiddenByDontLogLists(const SysLogRecordView& r, const AdmissionOptions& o) {
    static const std::vector<std::string> none;
    const auto& addrs = o.addrList ? *o.addrList : none;
    if (r[R::Dir] == "M") {
        const std::string_view message = r[R::Message];
        const size_t colon = message.find(':');
        return CkSBAddr(addrs, colon == std::string_view::npos ? message : message.substr(0, colon + 1));
    }
    return CkSBAddr(addrs, r[R::RemAddr]) || CkSBAddr(addrs, r[R::RemURL]) ||
           CkSBPort(o.rPortList ? *o.rPortList : none, r[R::RPort]) ||
           CkSBPort(o.lPortList ? *o.lPortList : none, r[R::LPort]) ||
           (!r[R::Message].empty() && CkSBAddr(addrs, r[R::Message]));
}

bool NeedsDaySeparator(const SysLogRecordView& r, const RecordGrid& list, const SysLogState& state) {
    if (state.SysRowCount < 1) return false;
    const std::string_view last = list.TextMatrix(state.SysRowCount, R::Date);
    const std::string_view date = r[R::Date];
    if (date.empty() || last.empty() || last == "0000-00-00") return false;
    return date > last || date == "0000-00-00";
}

// Takes the next row, growing the list when it has no room left; false when it is full.
bool NextRow(RecordGrid& list, SysLogState& state) {
    if (state.SysRowCount + 1 >= MaxSysLogRows) return false;
    ++state.SysRowCount;
    if (list.Rows() <= state.SysRowCount) list.SetRows(std::min(list.Rows() + SysLogGrowth, MaxSysLogRows));
    return true;
}

}  // namespace

AdmissionOptions AdmissionOptionsOf(MainForm& F) {
    AdmissionOptions o;
    o.showIn = F.ShowMessages[0].Value;
    o.showOut = F.ShowMessages[1].Value;
    o.showMessages = F.ShowMessages[2].Value;
    o.showWarnings = F.ShowMessages[3].Value;
    o.showIgnored = F.ShowMessages[6].Value;
    o.useSubtypes = F.UseSubtypes;
    o.compareWithSb = F.CompSB.Value;
    o.addrList = &F.SBAddrList;
    o.rPortList = &F.SBRPortList;
    o.lPortList = &F.SBLPortList;
    o.textWidth = [&F](std::string_view text) { return F.ui.TextWidth(text); };
    return o;
}

bool AppendSeparator(RecordGrid& list, SysLogState& state, unsigned colour) {
    if (!NextRow(list, state)) return false;
    for (int c = 0; c < PaintedColumns && c < list.Cols(); ++c)
        list.SetCellBackColorAt(state.SysRowCount, c, colour);
    return true;
}

bool StartNew(RecordGrid& list, SysLogState& state) {
    state.NewMarkSet = true;
    return AppendSeparator(list, state, NewRecordsColour);
}

Admission AdmitRecord(const SysLogRecordView& record, const AdmissionOptions& options,
                      const std::string& wanAddress, RecordGrid& list, SysLogState& state) {
    if (!PassesDisplayFilters(record, options)) return Admission::Filtered;
    const std::string_view dir =
        options.useSubtypes ? SubtypeOf(record, wanAddress) : std::string_view(record[R::Dir]);
    if (NeedsDaySeparator(record, list, state) && !AppendSeparator(list, state, DayChangeColour))
        return Admission::ListFull;
    const std::string_view tag = options.compareWithSb && HiddenByDontLogLists(record, options)
                                     ? std::string_view("N")
                                     : std::string_view(record[R::RowTag]);
    if (tag == "N" && !options.showIgnored) return Admission::Filtered;
    if (!NextRow(list, state)) return Admission::ListFull;
    // The key is the row's place, which the refresh's finish would give it anyway: given with the
    // row, it costs no second writing of the row.
    char key[16];
    const auto keyEnd = std::to_chars(std::begin(key), std::end(key), state.SysRowCount).ptr;
    std::array<std::string_view, R::SortKey + 1> texts;
    for (int c = 0; c < R::RowTag; ++c) texts[static_cast<size_t>(c)] = record[c];
    texts[R::Dir] = dir;
    texts[R::RowTag] = tag;
    texts[R::SortKey] = std::string_view(key, static_cast<size_t>(keyEnd - key));
    list.SetRowTexts(state.SysRowCount, texts);
    if (list.ColWidth(R::Message) == 0 && options.textWidth) {
        list.SetColWidth(R::Message, options.textWidth(std::string("SB").append(record[R::Message])));
    }
    return Admission::Added;
}

void ReportDisplayFull(MainForm& F) {
    ReportProblem(
        F,
        "Display area is full.  Continuing to update DX's history files, but no more records can be "
        "displayed.  Try displaying only 'Today' or 'new' records.",
        MsgIcon::None);
}

bool SysLogAdd(MainForm& F, const AdmissionOptions& options, std::string_view line,
               RouterLineReader& reader) {
    const SysLogRecordView& record = reader.Read(line, F.syslog.LanPrefix, F.WanAddress);
    if (AdmitRecord(record, options, F.WanAddress, F.SysLog, F.syslog) != Admission::ListFull) return false;
    ReportDisplayFull(F);
    return true;
}
