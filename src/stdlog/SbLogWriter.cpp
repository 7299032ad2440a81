#include "stdlog/SbLogWriter.h"

#include <QDateTime>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "files/FileBytes.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "sblog/HiddenLists.h"
#include "sblog/SbLogFolder.h"
#include "sblog/StdLogLine.h"
#include "stdlog/CompareSBLogs.h"

namespace {

// An undated row gets a time shortly after the dated row below it; rows below the lowest dated
// row get a time shortly before it. 0.0007 and 0.0015 of a day, as Stillbeacon users know them.
constexpr int kAfterDated = 60480;
constexpr int kBaseBeforeDated = 129600;

std::optional<int> TimeOfDayMs(std::string_view timeCell) {
    const std::string hhnnss(timeCell.substr(0, 8));
    const QTime t = QTime::fromString(QString::fromLatin1(hhnnss), QStringLiteral("hh:mm:ss"));
    if (!t.isValid()) return std::nullopt;
    return t.msecsSinceStartOfDay();
}

// hh:nn:ss of a time of day in milliseconds, rounded to the second and wrapped into one day.
std::string FormatTimeOfDay(int ms) {
    constexpr long long kSecondsPerDay = 24 * 60 * 60;
    long long seconds = static_cast<long long>(std::floor((ms + 500) / 1000.0));
    seconds = (seconds % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000))
        .toString(QStringLiteral("hh:mm:ss"))
        .toStdString();
}

// The date and time that lead every line of one list.
class StampSource {
  public:
    StampSource(const RecordGrid& list, const QDateTime& now)
        : todayDate_(now.date().toString(QStringLiteral("yyyy/MM/dd")).toStdString()),
          nowTime_(now.time().toString(QStringLiteral("hh:mm:ss")).toStdString() + ".00") {
        for (int r = list.Rows() - 1; r >= 1; --r) {
            if (list.TextMatrix(r, 0).empty()) continue;
            TakeDated(list, r);
            if (lastTime_) *lastTime_ -= kBaseBeforeDated;
            break;
        }
    }

    // Called for each row from the bottom up; gives that row's date and time fields.
    std::pair<std::string, std::string> ForRow(const RecordGrid& list, int row) {
        if (!list.TextMatrix(row, 0).empty()) {
            TakeDated(list, row);
            return {std::string(list.TextMatrix(row, 0)), std::string(list.TextMatrix(row, 1))};
        }
        if (!lastDate_.empty() && lastTime_)
            return {lastDate_, FormatTimeOfDay(*lastTime_ + kAfterDated) + ".00"};
        return {todayDate_, nowTime_};
    }

  private:
    void TakeDated(const RecordGrid& list, int row) {
        // A dated row whose time cannot be read keeps the stamp of the row before it.
        const auto t = TimeOfDayMs(list.TextMatrix(row, 1));
        if (!t) return;
        lastDate_ = list.TextMatrix(row, 0);
        lastTime_ = t;
    }

    std::string todayDate_, nowTime_;
    std::string lastDate_;
    std::optional<int> lastTime_;
};

// "80 - http" is written as "http"; a cell without " - " is written whole.
std::string_view PortText(std::string_view cell) {
    const std::size_t p = cell.find(" - ");
    return p == std::string_view::npos ? cell : cell.substr(p + 3);
}

// "Save highlighted" adds only what Stillbeacon missed, and never a record its lists hide (a
// row can be both hidden and highlighted as missing).
bool Wanted(const RecordGrid& list, int row, bool highlightedOnly, bool hidden) {
    return !highlightedOnly || (list.CellBackColorAt(row, 2) == FlagColour && !hidden);
}

// Each appends the lines of its list and answers the rows it took.
std::vector<int> AppendIncoming(std::string& out, const MainForm& F, bool highlightedOnly,
                                const QDateTime& now) {
    const RecordGrid& list = F.InLog;
    std::vector<int> taken;
    StampSource stamps(list, now);
    for (int r = list.Rows() - 1; r >= 1; --r) {
        auto [date, time] = stamps.ForRow(list, r);
        if (!Wanted(list, r, highlightedOnly, HidesIncomingRow(F, list, r))) continue;
        out += StdLogLine(date, time, "I", list.TextMatrix(r, 2), "0", "0.0.0.0", list.TextMatrix(r, 3));
        out += SbLineEnd;
        taken.push_back(r);
    }
    return taken;
}

std::vector<int> AppendOutgoing(std::string& out, const MainForm& F, bool highlightedOnly,
                                const QDateTime& now) {
    const RecordGrid& list = F.OutLog;
    std::vector<int> taken;
    StampSource stamps(list, now);
    for (int r = list.Rows() - 1; r >= 1; --r) {
        auto [date, time] = stamps.ForRow(list, r);
        if (!Wanted(list, r, highlightedOnly, HidesOutgoingRow(F, list, r))) continue;
        out += StdLogLine(date, time, "O", list.TextMatrix(r, 3), PortText(list.TextMatrix(r, 4)),
                          list.TextMatrix(r, 2), "0");
        out += SbLineEnd;
        taken.push_back(r);
    }
    return taken;
}

// Saved, a highlighted record is no longer missing from Stillbeacon's logs.
void Unflag(RecordGrid& list, const std::vector<int>& rows) {
    for (int r : rows) {
        if (list.CellBackColorAt(r, 0) == FlagColour) list.PaintRow(r, White);
    }
}

std::string FileNameFor(const QDateTime& now, int attempt) {
    std::string name = "Log " + now.toString(QStringLiteral("yyyy-MM-dd hhmm")).toStdString();
    if (attempt > 1) name += "_" + std::to_string(attempt);
    return name + ".txt";
}

// Creates the file whole, and only while no file has its name, so an earlier save is never
// replaced, not even by a second Drovix racing for the same name; the path, or empty on failure
// with the name tried and the system's reason.
std::string CreateNewFile(const std::string& folder, const QDateTime& now, std::string_view text,
                          std::string& triedName, std::string& error) {
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        triedName = FileNameFor(now, attempt);
        const std::string path = folder + triedName;
        switch (CreateFileOnly(path, text, &error)) {
            case Creation::Created:
                return path;
            case Creation::NameTaken:
                break;
            case Creation::Failed:
                return {};
        }
    }
    error = "every name of this minute is taken";
    return {};
}

void ReportSaveError(MainForm& F, const std::string& name, const std::string& error) {
    ReportProblem(F, "Error in 'SaveLogs' creating " + FileInFolder(F.SbLogDir, name, error),
                  MsgIcon::Critical, MsgButtons::OK, drovix::ErrorTitle);
}

}  // namespace

SavedRecords SaveLogs(MainForm& F, bool highlightedOnly) {
    if (!F.InLog.HasRecords() && !F.OutLog.HasRecords()) {
        if (!F.AutoMode) {
            F.WindowState = 0;
            ReportProblem(F, "The logs are empty", MsgIcon::None);
        }
        return {};
    }
    // Nothing may be written outside Stillbeacon's folder: without one there is nowhere to save.
    if (const std::string problem = SbLogFolderProblem(F); !problem.empty()) {
        ReportProblem(F, problem + ": nothing was saved.", MsgIcon::Exclamation, MsgButtons::OK,
                      drovix::ErrorTitle);
        return {};
    }
    const QDateTime now = F.clock.Now();
    std::string text;
    const std::vector<int> inRows = AppendIncoming(text, F, highlightedOnly, now);
    const std::vector<int> outRows = AppendOutgoing(text, F, highlightedOnly, now);
    const int records = static_cast<int>(inRows.size() + outRows.size());
    // Nothing new to add: an empty file would only clutter Stillbeacon's folder.
    if (records == 0) return {};
    std::string name, error;
    const std::string path = CreateNewFile(F.SbLogDir, now, text, name, error);
    if (path.empty()) {
        ReportSaveError(F, name, error);
        return {};
    }
    F.stdlog.LastSavedFile = path;
    if (highlightedOnly) {
        Unflag(F.InLog, inRows);
        Unflag(F.OutLog, outRows);
        ShowFlagCounts(F);
    }
    return {records, path};
}
