#include "syslog/DayFileMerge.h"

#include <optional>
#include <unordered_map>

#include "app/Constants.h"
#include "app/FileBytes.h"
#include "app/FileLock.h"
#include "app/MainForm.h"
#include "app/OsServices.h"
#include "app/ProblemReport.h"
#include "app/RunCycle.h"
#include "syslog/DayFileLines.h"
#include "syslog/DayFileSort.h"

namespace {

using R = SysLogRecord;

// Stillbeacon holds a day file only while it writes to it: a few short waits are enough.
constexpr int InUseRetries = 4;
constexpr int InUseWaitMs = 500;
constexpr const char* InUseText = "The Stillbeacon log was in use.  Please try again.";

struct PendingDay {
    std::string date;
    std::vector<int> rows;
};

bool Tagged(const RecordGrid& list, int row) {
    return list.TextMatrix(row, R::RowTag) == "R";
}

// The tagged rows by day, days in the order they first occur from the bottom (oldest) row up, so
// each day file is read and written once whatever order the list is sorted in. A row whose date
// is not a real date stays tagged: only a real date may name a file.
std::vector<PendingDay> TaggedDays(const RecordGrid& list) {
    std::vector<PendingDay> days;
    std::unordered_map<std::string, size_t> index;
    for (int row = list.Rows() - 1; row >= 1; --row) {
        const std::string& date = list.TextMatrix(row, R::Date);
        if (!Tagged(list, row) || !IsValidDate(date)) continue;
        const auto [at, added] = index.try_emplace(date, days.size());
        if (added) days.push_back({date, {}});
        days[at->second].rows.push_back(row);
    }
    return days;
}

SysLogRecord RowRecord(const RecordGrid& list, int row) {
    SysLogRecord record;
    for (int c = 0; c < SysLogRecord::FieldCount; ++c) record[c] = list.TextMatrix(row, c);
    return record;
}

class DayFileMerge {
  public:
    DayFileMerge(MainForm& F, bool unattended) : F(F), unattended_(unattended) {}

    void Run() {
        Begin();
        for (const PendingDay& day : TaggedDays(F.SysLog)) {
            if (Stopped() || !MergeDay(day)) {
                complete_ = false;
                break;
            }
        }
        End();
    }

  private:
    // While the merge waits for a file, window events run: nothing may start another refresh or
    // merge over the rows it is working on.
    void Begin() {
        F.ui.SetMousePointer(MousePointer::Hourglass);
        F.Busy = true;
        runEnabled_ = F.BRun.Enabled;
        saveAllEnabled_ = F.BSaveAll.Enabled;
        F.BRun.Enabled = F.BSaveAll.Enabled = F.BSaveHilited.Enabled = false;
    }

    bool Stopped() const { return F.QuitRequested || F.UnloadRequested; }

    bool MergeDay(const PendingDay& day) {
        const std::string name = "Log " + day.date + ".txt";
        const std::string path = F.SbLogDir + name;
        ExclusiveFileLock lock;
        std::optional<std::string> existing;
        if (!LoadDay(name, path, lock, existing)) return false;

        const DayForm form = existing ? DayFormOf(*existing) : DayForm::Tab;
        std::vector<std::string> lines;
        lines.reserve(day.rows.size() * 2);
        for (int row : day.rows) AppendRecordLines(RowRecord(F.SysLog, row), form, lines);
        const MergedDay merged =
            MergeDayLines(existing ? std::string_view(*existing) : std::string_view(), lines);

        std::string error;
        int number = 0;
        if (!SaveFileAtomically(path, merged.bytes, &error, &number)) {
            ReportProblem(F,
                          "Error " + std::to_string(number) + " in 'SysLogSave' updating log file\n\n" +
                              name + ": " + error,
                          MsgIcon::Critical, MsgButtons::OK, drovix::ErrorTitle);
            return false;
        }
        for (int row : day.rows) F.SysLog.SetTextMatrix(row, R::RowTag, "");
        F.Summary.AddMerged(name, merged.added);
        somethingSaved_ = true;
        return true;
    }

    // Reads the whole day file, which stays locked until it is replaced; existing stays empty
    // when there is no file yet. False, with the person told, when it cannot be read whole.
    bool LoadDay(const std::string& name, const std::string& path, ExclusiveFileLock& lock,
                 std::optional<std::string>& existing) {
        for (int retry = 0;; ++retry) {
            std::string error;
            switch (lock.TryLock(path, &error)) {
                case ExclusiveFileLock::Outcome::Missing:
                    existing.reset();
                    return true;
                case ExclusiveFileLock::Outcome::Locked:
                    existing.emplace();
                    if (ReadFileBytes(path, *existing, &error)) return true;
                    break;
                case ExclusiveFileLock::Outcome::Failed:
                    break;
                case ExclusiveFileLock::Outcome::InUse:
                    if (retry < InUseRetries) {
                        WaitMs(InUseWaitMs);
                        if (Stopped()) return false;
                        continue;
                    }
                    ReportProblem(F, InUseText);
                    return false;
            }
            // Not a lock, but the day can no more be merged than a held one: the person learns why.
            ReportProblem(F, std::string(InUseText) + "\n\n" + name + ": " + error);
            return false;
        }
    }

    bool AnyTagged() const {
        for (int row = 1; row < F.SysLog.Rows(); ++row)
            if (Tagged(F.SysLog, row)) return true;
        return false;
    }

    void End() {
        F.Busy = false;
        F.BRun.Enabled = runEnabled_;
        F.BSaveAll.Enabled = saveAllEnabled_;
        // After a failure the rows still missing stay highlighted, and the button stays on, so
        // "Please try again" can be done with it.
        F.BSaveHilited.Enabled = !complete_ && AnyTagged();
        F.ui.SetMousePointer(MousePointer::Default);
        if (F.QuitRequested) {
            // Exit was pressed during a wait; the merge stopped between two days.
            F.QuitRequested = false;
            BQuit_Click(F);
            return;
        }
        if (somethingSaved_ && !unattended_ && !F.UnloadRequested) BRun_Click(F);
    }

    MainForm& F;
    const bool unattended_;
    bool runEnabled_ = false, saveAllEnabled_ = false;
    bool complete_ = true, somethingSaved_ = false;
};

}  // namespace

void SysLogSave(MainForm& F, bool unattended) {
    // A click that arrives inside a refresh's or another merge's wait.
    if (F.Busy) return;
    DayFileMerge(F, unattended).Run();
}
