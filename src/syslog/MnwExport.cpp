#include "syslog/MnwExport.h"

#include "app/FileBytes.h"
#include "app/MainForm.h"
#include "app/OsServices.h"
#include "app/ProblemReport.h"
#include "app/Settings.h"
#include "syslog/SysLogRecord.h"
#include "ui/Colours.h"

namespace {

using R = SysLogRecord;

constexpr int MnwStatColumn = 9;
constexpr qint64 OneDay = 86400;
constexpr const char* MnwTimeFormat = "yyyy-MM-dd hh:mm:ss";

// The moment in UTC, as the agent reads it; the offset is the one in force at that moment, so a
// record from before a change of summer time is converted as it happened.
std::string UtcText(const QDateTime& local) {
    return local.addSecs(GetUTCAt(local) * 60LL).toString("yyyy/MM/dd hh:mm:ss").toStdString();
}

std::string Trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string AddressOrZeros(const std::string& s) {
    const std::string t = Trimmed(s);
    return t.size() < 6 ? "0.0.0.0" : t;
}

std::string PortOrMinusOne(const std::string& s) {
    const std::string t = Trimmed(s);
    return t.empty() ? "-1" : t;
}

std::string ExportLine(const RecordGrid& list, int row, const std::string& utc) {
    return utc + " " + Trimmed(list.TextMatrix(row, R::Dir)) + " " +
           AddressOrZeros(list.TextMatrix(row, R::RemAddr)) + " " +
           PortOrMinusOne(list.TextMatrix(row, R::RPort)) + " " +
           AddressOrZeros(list.TextMatrix(row, R::LocalAddr)) + " " +
           PortOrMinusOne(list.TextMatrix(row, R::LPort)) + " " + Trimmed(list.TextMatrix(row, R::Prot));
}

// Where this export starts: the last export when it is known and within a day of now (either
// way), otherwise the last 24 hours.
QDateTime ExportStart(const std::string& lastExport, const QDateTime& now) {
    const QDateTime last = QDateTime::fromString(QString::fromStdString(lastExport), MnwTimeFormat);
    if (last.isValid() && std::llabs(last.secsTo(now)) <= OneDay - 1) return last;
    return now.addSecs(-OneDay);
}

std::optional<QDateTime> RowTime(const RecordGrid& list, int row) {
    const QDateTime t = QDateTime::fromString(
        QString::fromStdString(list.TextMatrix(row, R::Date) + " " + list.TextMatrix(row, R::Time)),
        MnwTimeFormat);
    if (!t.isValid()) return std::nullopt;
    return t;
}

}  // namespace

std::string MnwTimeText(const QDateTime& local) {
    return local.toString(MnwTimeFormat).toStdString();
}

void SysLogMNW(MainForm& F) {
    RecordGrid& list = F.SysLog;
    std::vector<std::string>& lines = F.syslog.MnwLines;
    lines.clear();
    const QDateTime now = F.clock.Now();
    const std::string cutoff = UtcText(ExportStart(F.LastMnwTime, now));
    for (int row = 1; row < list.Rows(); ++row) {
        const std::string& dir = list.TextMatrix(row, R::Dir);
        if (dir != "I" && dir != "P") continue;
        const auto local = RowTime(list, row);
        if (!local) continue;
        const std::string utc = UtcText(*local);
        const bool missing = !F.CompSB.Value || list.CellBackColorAt(row, R::RemAddr) == FlagColour;
        if (utc >= cutoff && missing) {
            list.SetCellBackColorAt(row, R::RemAddr, MnwColour);
            lines.push_back(ExportLine(list, row, utc));
        } else if (utc < cutoff) {
            break;  // the rows below are older still
        }
    }
    const int count = static_cast<int>(lines.size());
    F.SysStats.SetTextMatrix(1, MnwStatColumn, std::to_string(count));
    F.SysStats.SetCellBackColorAt(1, MnwStatColumn, count >= 1 ? MnwColour : White);
    if (count > 0) F.BSaveAll.Enabled = true;
}

void SysLogmNWSave(MainForm& F) {
    std::vector<std::string>& lines = F.syslog.MnwLines;
    if (!F.CmnW.Value || lines.empty()) return;
    std::string bytes;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) bytes += *it + "\r\n";
    std::string error;
    int number = 0;
    if (!SaveFileAtomically(F.ProgramDir + "SBmNW.log", bytes, &error, &number)) {
        ReportProblem(F,
                      "Error in 'SysLogmNWSave' trying to create MyNetWatchman file: " +
                          std::to_string(number) + ": " + error,
                      MsgIcon::Critical, MsgButtons::OK, "Drovix Error");
        return;
    }
    F.Summary.Exported += static_cast<int>(lines.size());
    // Exported once: a second press before the next refresh has nothing left to write.
    lines.clear();
    F.BSaveAll.Enabled = false;
    F.LastMnwTime = MnwTimeText(F.clock.Now());
    if (!IniWrite(F)) {
        // Without LASTMNW the next export would send these records again.
        ReportProblem(F, "Drovix could not save its settings in \"" + F.ProgramDir + "Drovix.ini\"",
                      MsgIcon::Exclamation, MsgButtons::OK, "Drovix Error");
    }
}
