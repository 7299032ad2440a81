#include "syslog/DayFileMerge.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "files/FileBytes.h"
#include "files/FileLock.h"
#include "files/FileReplacement.h"
#include "files/MappedFile.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "form/OsServices.h"
#include "form/ProblemReport.h"
#include "sblog/DayFileLines.h"
#include "sblog/DayFileSort.h"
#include "sblog/SbLogFolder.h"
#include "syslog/RouterDate.h"

namespace {

using R = SysLogRecord;

// Stillbeacon has a day file open only while it writes to it: a few short waits are enough.
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
// is not a real date, or only a guess, stays tagged: only a real date may name a file, and a
// guessed one would put the record into a second day file once the router tells the right one.
std::vector<PendingDay> TaggedDays(const RecordGrid& list, const std::unordered_set<std::string>& unsettled) {
    std::vector<PendingDay> days;
    std::unordered_map<std::string, size_t> index;
    for (int row = list.Rows() - 1; row >= 1; --row) {
        const std::string date(list.TextMatrix(row, R::Date));
        if (!Tagged(list, row) || !IsValidDate(date) ||
            unsettled.count(std::string(list.TextMatrix(row, R::SortKey))))
            continue;
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

// The merged bytes written into a day file's replacement as they are made, once a line the file
// lacks has come: a merge that adds nothing leaves the day file as it was and writes no new one.
// The bytes before that line are held until then. The first failure is kept, and told once the
// merge has counted its lines.
class IntoReplacement final : public MergedBytes {
  public:
    explicit IntoReplacement(FileReplacement& replacement) : replacement_(replacement) {}

    void Append(std::string_view bytes) override {
        if (!begun_) {
            held_.append(bytes);
        } else {
            ok_ = ok_ && replacement_.Append(bytes, &error, &errorNumber);
        }
    }
    void StartOver() override {
        held_.clear();
        if (begun_) ok_ = ok_ && replacement_.StartOver(&error, &errorNumber);
    }
    void FirstLineAdded() override {
        if (begun_) return;
        begun_ = true;
        ok_ = replacement_.Begin(&error, &errorNumber) && replacement_.Append(held_, &error, &errorNumber);
        std::string().swap(held_);
    }
    // Flushes the new file to disk; false when anything failed.
    bool Finish() { return begun_ && ok_ && replacement_.Finish(&error, &errorNumber); }

    std::string error;
    int errorNumber = 0;

  private:
    FileReplacement& replacement_;
    std::string held_;
    bool begun_ = false, ok_ = false;
};

class DayFileMerge {
  public:
    DayFileMerge(MainForm& F, bool unattended) : F(F), unattended_(unattended) {}

    // Whether the list must be read and matched again, once the merge has ended.
    bool RefreshDue() const { return refreshDue_; }

    void Run() {
        Begin();
        for (const PendingDay& day : TaggedDays(F.SysLog, F.syslog.UnsettledDateKeys)) {
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

    // How one try at a day ended.
    enum class Attempt {
        Merged,
        InUse,   // another program has the file open, or a new file's name was taken meanwhile
        Failed,  // the person was told why
    };

    // A day in use is tried again after a short wait, a few times, before the person is told.
    bool MergeDay(const PendingDay& day) {
        const std::string name = "Log " + day.date + ".txt";
        for (int attempt = 0;; ++attempt) {
            switch (TryMergeDay(day, name)) {
                case Attempt::Merged:
                    return true;
                case Attempt::Failed:
                    return false;
                case Attempt::InUse:
                    break;
            }
            if (attempt == InUseRetries) {
                ReportProblem(F, InUseText);
                return false;
            }
            WaitMs(InUseWaitMs);
            if (Stopped()) return false;
        }
    }

    // Reads the day file while nobody else has it open, merges the day's lines into it and puts
    // the merged file in its place while that still holds; a day without a file gets a new one
    // unless one has appeared since.
    Attempt TryMergeDay(const PendingDay& day, const std::string& name) {
        const std::string path = F.SbLogDir + name;
        ExclusiveFileLock lock;
        std::string error;
        MappedFile mapped;
        std::string copy;
        std::optional<std::string_view> existing;
        switch (lock.TryLock(path, &error)) {
            case ExclusiveFileLock::Outcome::Missing:
                break;
            case ExclusiveFileLock::Outcome::InUse:
                return Attempt::InUse;
            case ExclusiveFileLock::Outcome::Locked: {
                // Under a lease nobody can shorten the file while it is merged: it is read where
                // it lies rather than copied. Without one (or where it cannot be mapped) it is
                // copied, as it may change.
                if (lock.Leased() && mapped.Map(lock.Descriptor())) {
                    existing = mapped.Bytes();
                    break;
                }
                const FileRead read = ReadOpenFile(lock.Descriptor(), copy);
                if (read) {
                    existing = copy;
                    break;
                }
                error = read.error;
                [[fallthrough]];
            }
            case ExclusiveFileLock::Outcome::Failed:
                // Not a lock, but the day can no more be merged than a held one: the person learns why.
                ReportProblem(F, std::string(InUseText) + " (" + FileInFolder(F.SbLogDir, name, error) + ")");
                return Attempt::Failed;
        }
        if (existing && existing->find('\0') != std::string_view::npos) {
            // Lines of 16-bit characters would be cut into pieces and shuffled.
            ReportProblem(F, name +
                                 " was left as it was: it holds NUL bytes, so it is not in Stillbeacon's "
                                 "8-bit text (is it saved as UTF-16?).");
            return Attempt::Failed;
        }
        // Held, the file can have no save of another program under way.
        if (existing) RemoveSaveLeftovers(path);

        const DayForm form = existing ? DayFormOf(*existing) : DayForm::Tab;
        std::vector<std::string> lines;
        lines.reserve(day.rows.size() * 2);
        for (int row : day.rows) AppendRecordLines(RowRecord(F.SysLog, row), form, lines);
        // The merged day goes straight into the new file as it is made.
        FileReplacement replacement(path);
        IntoReplacement out(replacement);
        const MergeCounts merged = MergeDayLines(existing.value_or(std::string_view()), lines, out);
        if (existing && merged.added == 0) {
            // Every line is in the file already: Stillbeacon's file is left as it is.
            for (int row : day.rows) F.SysLog.SetTextMatrix(row, R::RowTag, "");
            somethingSaved_ = true;
            return Attempt::Merged;
        }
        if (!out.Finish()) return SaveFailed(name, out.errorNumber, out.error);
        int number = 0;
        if (existing) {
            // Someone who opened the file meanwhile would write on into the old one.
            if (!lock.StillExclusive()) return Attempt::InUse;
            if (!replacement.Replace(&error, &number)) return SaveFailed(name, number, error);
        } else {
            switch (replacement.CreateOnly(&error, &number)) {
                case FileReplacement::Created::Yes:
                    // Where the file system cannot make a file without a name, a creation of this
                    // day that was killed left its named file behind; held, the day is rid of it.
                    if (lock.TryLock(path) == ExclusiveFileLock::Outcome::Locked) RemoveSaveLeftovers(path);
                    break;
                case FileReplacement::Created::NameTaken:
                    return Attempt::InUse;
                case FileReplacement::Created::Failed:
                    return SaveFailed(name, number, error);
            }
        }
        for (int row : day.rows) F.SysLog.SetTextMatrix(row, R::RowTag, "");
        F.Summary.AddMerged(name, merged.added);
        somethingSaved_ = true;
        return Attempt::Merged;
    }

    Attempt SaveFailed(const std::string& name, int number, const std::string& error) {
        ReportProblem(F,
                      "Error " + std::to_string(number) + " in 'SysLogSave' updating log file " +
                          FileInFolder(F.SbLogDir, name, error),
                      MsgIcon::Critical, MsgButtons::OK, drovix::ErrorTitle);
        return Attempt::Failed;
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
            F.commands.Exit(F);
            return;
        }
        refreshDue_ = somethingSaved_ && !unattended_ && !F.UnloadRequested;
    }

    MainForm& F;
    const bool unattended_;
    bool runEnabled_ = false, saveAllEnabled_ = false;
    bool complete_ = true, somethingSaved_ = false, refreshDue_ = false;
};

}  // namespace

bool SysLogSave(MainForm& F, bool unattended) {
    // A click that arrives inside a refresh's or another merge's wait.
    if (F.Busy) return false;
    // Day files go into Stillbeacon's folder only: the rows stay highlighted for a later try.
    if (const std::string problem = SbLogFolderProblem(F); !problem.empty()) {
        ReportProblem(F, problem + ": nothing was merged.", MsgIcon::Exclamation, MsgButtons::OK,
                      drovix::ErrorTitle);
        return false;
    }
    DayFileMerge merge(F, unattended);
    merge.Run();
    return merge.RefreshDue();
}
