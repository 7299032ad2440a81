#include "syslog/MnwExport.h"

#include <QTimeZone>
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string_view>

#include "files/FileBytes.h"
#include "form/Colours.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/OsServices.h"
#include "form/ProblemReport.h"
#include "form/SysLogRecord.h"
#include "syslog/RouterDate.h"
#include "syslog/StampSeconds.h"

namespace {

using R = SysLogRecord;

constexpr int MnwStatColumn = 9;
constexpr long long OneDay = 86400;
constexpr size_t StampLength = 19;  // "yyyy-mm-dd hh:nn:ss", also the length of an export line's UTC

std::string UtcText(long long moment) {
    return QDateTime::fromSecsSinceEpoch(moment, QTimeZone::utc())
        .toString("yyyy/MM/dd hh:mm:ss")
        .toStdString();
}

std::string_view Trimmed(std::string_view s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string_view AddressOrZeros(std::string_view s) {
    const std::string_view t = Trimmed(s);
    return t.size() < 6 ? "0.0.0.0" : t;
}

std::string_view PortOrMinusOne(std::string_view s) {
    const std::string_view t = Trimmed(s);
    return t.empty() ? "-1" : t;
}

std::string ExportLine(const RecordGrid& list, int row, const std::string& utc) {
    std::string line = utc;
    for (const std::string_view field :
         {Trimmed(list.TextMatrix(row, R::Dir)), AddressOrZeros(list.TextMatrix(row, R::RemAddr)),
          PortOrMinusOne(list.TextMatrix(row, R::RPort)), AddressOrZeros(list.TextMatrix(row, R::LocalAddr)),
          PortOrMinusOne(list.TextMatrix(row, R::LPort)), Trimmed(list.TextMatrix(row, R::Prot))}) {
        line += ' ';
        line += field;
    }
    return line;
}

// The clock face of a local date ("yyyy-mm-dd") and time as seconds since 1970.
std::optional<long long> WallSeconds(std::string_view date, std::string_view time) {
    if (!IsValidDate(date) || time.size() != 8) return std::nullopt;
    return StampSeconds(date, time);
}

std::optional<long long> RowWall(const RecordGrid& list, int row) {
    return WallSeconds(list.TextMatrix(row, R::Date), list.TextMatrix(row, R::Time));
}

// The moment a row's local time stands for. In the hour that repeats when summer time ends, a
// time has two; it is the later one when an older row of that hour shows a later time, for the
// clock was put back between them.
std::optional<long long> RowMoment(const RecordGrid& list, int row) {
    const auto wall = RowWall(list, row);
    if (!wall) return std::nullopt;
    const std::vector<long long> moments = LocalTimeMoments(*wall);
    if (moments.size() < 2) return moments.front();
    for (int older = row + 1; older < list.Rows(); ++older) {
        if (list.TextMatrix(older, R::Date).empty()) continue;  // a separator
        const auto olderWall = RowWall(list, older);
        if (!olderWall || LocalTimeMoments(*olderWall).size() < 2) break;
        if (*olderWall > *wall) return moments.back();
    }
    return moments.front();
}

// " +hh:mm" or " -hh:mm" as seconds east of UTC.
std::optional<long long> OffsetSeconds(std::string_view t) {
    if (t.size() != 7 || t[0] != ' ' || (t[1] != '+' && t[1] != '-') || t[4] != ':') return std::nullopt;
    for (const size_t i : {2, 3, 5, 6})
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
    const long long seconds =
        ((t[2] - '0') * 10 + (t[3] - '0')) * 3600LL + ((t[5] - '0') * 10 + (t[6] - '0')) * 60LL;
    return t[1] == '+' ? seconds : -seconds;
}

// LASTMNW: the local time, then its offset from UTC, so that it reads back exactly in the hour
// that repeats as well. A time written without an offset reads as the earliest moment it may
// stand for: a record exported twice does less harm than one never exported.
std::optional<long long> ExportMoment(const std::string& text) {
    if (text.size() < StampLength || text[10] != ' ') return std::nullopt;
    const auto wall = WallSeconds(text.substr(0, 10), text.substr(11, 8));
    if (!wall) return std::nullopt;
    if (text.size() == StampLength) return LocalTimeMoments(*wall).front();
    const auto offset = OffsetSeconds(std::string_view(text).substr(StampLength));
    if (!offset) return std::nullopt;
    return *wall - *offset;
}

// Where this export starts: the last export when it is known and within a day of now (either
// way), otherwise the last 24 hours. The router stamps its records by its own clock, so when that
// clock is known the start is taken to it; a clock a day or more off says nothing about what
// went out before.
long long Cutoff(const MainForm& F, long long now) {
    const auto last = ExportMoment(F.LastMnwTime);
    long long start = last && std::llabs(*last - now) <= OneDay - 1 ? *last : now - OneDay;
    const long long routerBehind = F.RouterClockOffset;
    if (routerBehind != drovix::ClockNotKnown && std::llabs(routerBehind) < OneDay) start -= routerBehind;
    return start;
}

bool DateInferred(const MainForm& F, int row) {
    return F.syslog.InferredDateKeys.count(std::string(F.SysLog.TextMatrix(row, R::SortKey))) > 0;
}

// Lines chosen by an earlier refresh and not written yet stay chosen, so that a merge's refresh,
// which finds their records in Stillbeacon's logs now, does not drop them; the cutoff still
// applies. A line chosen again is not doubled. pending comes sorted.
std::vector<std::string> WithPending(std::vector<std::string> chosen, std::vector<std::string> pending,
                                     const std::string& cutoff) {
    std::erase_if(pending, [&](const std::string& line) { return line.substr(0, StampLength) < cutoff; });
    std::sort(chosen.begin(), chosen.end());
    std::vector<std::string> lines;
    std::set_union(chosen.begin(), chosen.end(), pending.begin(), pending.end(), std::back_inserter(lines));
    return lines;
}

}  // namespace

std::string MnwTimeText(const QDateTime& local) {
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return local.toString("yyyy-MM-dd hh:mm:ss").toStdString() + (offset < 0 ? " -" : " +") +
           QString::asprintf("%02d:%02d", minutes / 60, minutes % 60).toStdString();
}

void SysLogMNW(MainForm& F) {
    RecordGrid& list = F.SysLog;
    const QDateTime now = F.clock.Now();
    const long long cutoff = Cutoff(F, now.toSecsSinceEpoch());
    std::vector<std::string> pending = std::move(F.syslog.MnwLines);
    std::sort(pending.begin(), pending.end());
    std::vector<std::string> chosen;
    for (int row = 1; row < list.Rows(); ++row) {
        const std::string_view dir = list.TextMatrix(row, R::Dir);
        if (dir != "I" && dir != "P") continue;
        const auto moment = RowMoment(list, row);
        if (!moment || F.syslog.UnsettledDateKeys.count(std::string(list.TextMatrix(row, R::SortKey)))) continue;
        if (*moment >= cutoff) {
            // The tag, not the colour: more missing records than are painted are still missing.
            const bool missing = !F.CompSB.Value || list.TextMatrix(row, R::RowTag) == "R";
            const std::string line = ExportLine(list, row, UtcText(*moment));
            if (missing) chosen.push_back(line);
            if (missing || std::binary_search(pending.begin(), pending.end(), line))
                list.SetCellBackColorAt(row, R::RemAddr, MnwColour);
        } else if (!DateInferred(F, row)) {
            // The rows below are older still; a row the router gave without a date was dated
            // after its neighbours and tells nothing about the rows below it.
            break;
        }
    }
    std::vector<std::string>& lines = F.syslog.MnwLines;
    lines = WithPending(std::move(chosen), std::move(pending), UtcText(cutoff));
    // Every listed record was read by now: the next export starts here, not at the press of the
    // button, which may come after the router logged more.
    F.syslog.MnwChosenAt = MnwTimeText(now);
    const int count = static_cast<int>(lines.size());
    F.SysStats.SetTextMatrix(1, MnwStatColumn, std::to_string(count));
    F.SysStats.SetCellBackColorAt(1, MnwStatColumn, count >= 1 ? MnwColour : White);
    if (count > 0) F.BSaveAll.Enabled = true;
}

void SysLogmNWSave(MainForm& F) {
    std::vector<std::string>& lines = F.syslog.MnwLines;
    if (!F.CmnW.Value || lines.empty()) return;
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    std::string error;
    int number = 0;
    if (!SaveFileAtomically(F.ProgramDir + "SBmNW.log", bytes, &error, &number)) {
        ReportProblem(F,
                      "Error in 'SysLogmNWSave' trying to create MyNetWatchman file " +
                          FileInFolder(F.ProgramDir, "SBmNW.log", error) + " (error " +
                          std::to_string(number) + ")",
                      MsgIcon::Critical, MsgButtons::OK, drovix::ErrorTitle);
        return;
    }
    F.Summary.Exported += static_cast<int>(lines.size());
    // Exported once: a second press before the next refresh has nothing left to write.
    lines.clear();
    F.BSaveAll.Enabled = false;
    F.LastMnwTime = F.syslog.MnwChosenAt;
    // Without LASTMNW the next export would send these records again: a failure is told at once.
    F.commands.SaveSettings(F);
}
