#include "syslog/SysLogDriver.h"

#include <QFileDevice>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

#include "capture/RouterClockFile.h"
#include "files/FileBytes.h"
#include "form/Constants.h"
#include "form/EventPacer.h"
#include "form/MainForm.h"
#include "form/ProblemReport.h"
#include "form/Progress.h"
#include "resolve/AddressConversion.h"
#include "resolve/SysLogLookups.h"
#include "sblog/SbLogFolder.h"
#include "syslog/CaptureFill.h"
#include "syslog/DayFileMerge.h"
#include "syslog/HistoryEnd.h"
#include "syslog/HistoryFiles.h"
#include "syslog/MnwExport.h"
#include "syslog/RouterDate.h"
#include "syslog/RouterLineParser.h"
#include "syslog/SysLogAdmission.h"
#include "syslog/SysLogFinish.h"
#include "syslog/SysLogLists.h"
#include "syslog/SysLogPageCutter.h"
#include "syslog/SysLogPages.h"
#include "text/AddressText.h"
#include "text/TextLines.h"

namespace {

using R = SysLogRecord;

// Window events run at most this often inside the line loops: often enough for Cancel to feel
// immediate, rarely enough that a long history is not read at the pace of repaints.

enum Timeframe { All = 0, New = 1, TwoDays = 2, Week = 3 };

std::string_view Stamp(std::string_view line) {
    return line.substr(0, 19);
}

std::string DateText(const QDate& d) {
    return d.toString("yyyy-MM-dd").toStdString();
}

// A failure that ends the refresh: the message names the step and the file.
struct RefreshFailure {
    int number;
    int step;
    std::string file;
    std::string reason;
};

class SysLogRefresh {
  public:
    explicit SysLogRefresh(MainForm& F) : F(F), history_(F.SbLogDir) {}

    void Run() {
        Begin();
        try {
            if (ReadRouter()) {
                PrepareList();
                FillFromTheCapture();
                ReloadHistory();
                ListCapturedLines();
                ReadRouterLines();
                history_.Close();
                Finish();
            }
        } catch (const RefreshFailure& failure) {
            history_.Close();
            ReportProblem(F,
                          "Error " + std::to_string(failure.number) + " in 'SysLogMain' at step " +
                              std::to_string(failure.step) +
                              ", processing file: " + FileInFolder(F.SbLogDir, failure.file, failure.reason),
                          MsgIcon::Critical, MsgButtons::OK, drovix::ErrorTitle);
        }
        End();
    }

  private:
    // The button turns into Cancel, and the list stops redrawing while it fills.
    void Begin() {
        kind_ = SysLogKindOf(F.router);
        historyFolderExists_ = QFileInfo(QString::fromStdString(F.SbLogDir)).isDir();
        layout_ = LayoutFor(kind_);
        quitCaption_ = F.BQuit.Caption;
        F.BQuit.Caption = "Cancel";
        F.Busy = true;
        F.SysLog.SetRedraw(false);
        F.ui.SetMousePointer(MousePointer::Hourglass);
    }

    // The pages and the router's clock; false when there is nothing to list (no page, or Cancel).
    bool ReadRouter() {
        const std::string& address = F.IPAddr.Text;
        size_t dots = 0, cut = std::string::npos;
        for (size_t i = 0; i < address.size() && dots < 3; ++i) {
            if (address[i] == '.' && ++dots == 3) cut = i + 1;
        }
        F.syslog.LanPrefix = cut == std::string::npos ? std::string() : address.substr(0, cut);
        F.syslog.SysLogBaseURL = "http://" + address + layout_.pagePath;

        SysLogPageRead read = ReadSysLogPages(F, kind_, F.syslog.SysLogBaseURL);
        pages_ = std::move(read.pages);
        failedPage_ = read.failedPage;
        failedAddress_ = read.failedAddress;
        const QDateTime readAt = F.clock.Now();
        routerTime_ = ReadRouterClock(F, readAt);
        // For the syslog receiver, which puts lines without a dated header in the router's time.
        KeepRouterClockOffset(F.ProgramDir, F.RouterClockOffset);
        if (F.QuitRequested || F.UnloadRequested || pages_.empty()) return false;

        const QDate today = readAt.date();
        today_ = DateText(today);
        yesterday_ = DateText(today.addDays(-1));
        weekAgo_ = DateText(today.addDays(-7));
        lastDate_ = yesterday_;
        now_ = readAt.toString("yyyy-MM-dd hh:mm:ss").toStdString();
        CutPages();
        FixBounds();
        RepairDates();
        return true;
    }

    void CutPages() {
        pagesRead_ = static_cast<int>(pages_.size());
        lines_.reserve(pages_.size());
        for (const std::string& page : pages_)
            lines_.push_back(CutSysLogPage(page, layout_.anchor, layout_.marker));
        pages_.clear();
    }

    // The first dated record's stamp, the latest stamp taken, and the start of the timeframe.
    void FixBounds() {
        // Only a real date may later name a history file.
        firstStamp_ = FirstDatedStamp(lines_);
        if (firstStamp_.empty()) firstStamp_ = now_;

        upperStamp_ = LastLineStamp(lines_.back());
        if (upperStamp_.empty()) {
            upperStamp_ = now_;
        } else if (!routerTime_.empty() && upperStamp_ < routerTime_) {
            upperStamp_ = routerTime_;
        }

        switch (ChosenTimeframe()) {
            case All:
                since_ = "1999-01-01 00:00:00";
                break;
            case Week:
                since_ = weekAgo_ + " 00:00:00";
                break;
            case TwoDays:
                since_ = yesterday_ + " 00:00:00";
                break;
            case New:
                since_ = firstStamp_.substr(0, 10) + " 00:00:00";
                break;
        }
    }

    // Each line's date, fixed once before anything reads the lines; lines dated too far ahead go.
    void RepairDates() {
        for (std::vector<std::string>& page : lines_) {
            std::vector<std::string> kept;
            kept.reserve(page.size());
            for (std::string& line : page)
                if (RepairRouterDate(line, lastDate_, today_)) kept.push_back(std::move(line));
            page = std::move(kept);
        }
    }

    // An empty list, set up at the first System Log refresh.
    void PrepareList() {
        if (!F.SysLog.Visible) {
            SysLogSetup(F);
        } else {
            ClearSysLog(F);
        }
        F.syslog.NewMarkSet = false;
        F.syslog.DisplayFull = false;
        F.syslog.NewCount = 0;
        F.syslog.NotInSbLogs = 0;
        F.syslog.CapturedKeys.clear();
        F.syslog.HandMarks.clear();
        options_ = AdmissionOptionsOf(F);
    }

    int ChosenTimeframe() const {
        for (int i = 0; i < 4; ++i)
            if (F.Include[static_cast<size_t>(i)].Value) return i;
        return All;
    }

    // The history lives in Stillbeacon's folder; one that is not there cannot keep it.
    bool KeepHistory() const { return F.CSaveSysLog.Value && historyFolderExists_; }
    bool ListHistory() const { return F.ShowMessages[4].Value && KeepHistory(); }

    // The router's lines the syslog receiver captured and the pages no longer hold go into the
    // history files before these are read, so that the history lists them in their place.
    void FillFromTheCapture() {
        if (KeepHistory()) historyNames_ = ListHistoryFiles(F.SbLogDir);
        CaptureFillSetup setup;
        setup.captureFolder = F.ProgramDir;
        if (historyNames_) {
            setup.historyFolder = F.SbLogDir;
            setup.historyNames = *historyNames_;
        }
        // The days the refresh lists, and those since the history ends.
        setup.fromDay = since_.substr(0, 10);
        if (!setup.historyNames.empty() && setup.historyNames.back().size() == 20)
            setup.fromDay = std::min(setup.fromDay, setup.historyNames.back().substr(6, 10));
        setup.firstStamp = firstStamp_;
        setup.upperStamp = upperStamp_;
        setup.rules = {std::max(0LL, std::strtoll(F.MaxTdiff.Text.c_str(), nullptr, 10)), F.syslog.LanPrefix,
                       F.WanAddress};
        setup.progress = [this](double done) {
            ShowProgress(F, done, "Read syslog capture");
            return Cancelled();
        };
        std::vector<std::string> routerLines;
        for (const auto& page : lines_) routerLines.insert(routerLines.end(), page.begin(), page.end());
        fill_ = FillFromCapture(setup, routerLines);
        if (fill_.failure)
            throw RefreshFailure{fill_.failure->number, fill_.failure->step, fill_.failure->file,
                                 fill_.failure->reason};
        filledLeft_ = fill_.written;
    }

    // Lists a line the capture filled in, marked as such.
    void ListCaptured(std::string_view line) {
        if (F.syslog.DisplayFull) return;
        const int before = F.syslog.SysRowCount;
        F.syslog.DisplayFull = SysLogAdd(F, options_, line, reader_);
        const int row = F.syslog.SysRowCount;
        if (row > before && !IsSeparatorRow(F.SysLog, row)) F.syslog.CapturedKeys.insert(std::to_string(row));
    }

    // Without history files the captured lines are listed before the router's: they came first.
    void ListCapturedLines() {
        for (const std::string& line : fill_.toList) {
            if (Cancelled()) return;
            ListCaptured(line);
        }
    }

    // Whether the line is one the capture filled in (each copy once).
    bool TakeFilled(std::string_view line) {
        if (filledLeft_.empty()) return false;
        const auto filled = filledLeft_.find(std::string(line));
        if (filled == filledLeft_.end() || filled->second == 0) return false;
        --filled->second;
        return true;
    }

    // Earlier days from the history files, and the file the new lines go to.
    void ReloadHistory() {
        adding_ = !ListHistory();
        if (KeepHistory()) ReadHistoryFiles();
        const std::string& lastStored =
            historyEnd_.LastStamp().empty() ? firstStamp_ : historyEnd_.LastStamp();
        // Lines without a date of their own go to the file of the day the history ends on, or of
        // the router's first dated line when that is later; the file is created only when a line
        // is written to it.
        appendName_ = lastReadName_.empty() ? HistoryFileName(firstStamp_.substr(0, 10)) : lastReadName_;
        if (firstStamp_.substr(0, 10) > lastStored.substr(0, 10))
            appendName_ = HistoryFileName(firstStamp_.substr(0, 10));
    }

    void ReadHistoryFiles() {
        if (!historyNames_) return;
        const std::vector<std::string>& listed = *historyNames_;
        const std::string start = HistoryFileName(since_.substr(0, 10));
        size_t first = 0;
        while (first < listed.size() && listed[first] < start) ++first;
        // The newest file is read whatever the timeframe lists: the last line stored is where the
        // router's new lines begin. Its lines fall before the timeframe and are not listed.
        if (first == listed.size() && first > 0) --first;
        // So are the files the capture filled, whose new lines are listed whatever the timeframe.
        std::vector<std::string> names(listed.begin() + static_cast<long>(first), listed.end());
        names.insert(names.end(), fill_.namesWritten.begin(), fill_.namesWritten.end());
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return std::string_view(a).substr(6) < std::string_view(b).substr(6);  // by date
        });
        names.erase(std::unique(names.begin(), names.end()), names.end());
        std::string bytes;  // each file in turn, in the room of the one before
        for (size_t i = 0; i < names.size(); ++i) {
            ShowProgress(F, double(i + 1) / double(names.size()), "Reload history");
            if (Cancelled()) return;
            const std::string& name = names[i];
            lastReadName_ = name;
            const FileRead read = ReadFileBytes(F.SbLogDir + name, bytes);
            // Gone since it was listed: the history ends with the files before it.
            if (read.Missing()) continue;
            if (!read) throw RefreshFailure{read.errorNumber, 10, name, read.error};
            bool cancelled = false;
            ForEachLine(bytes, [&](std::string_view line) {
                if (line.empty()) return true;
                if ((cancelled = Cancelled())) return false;
                if (!IsUndated(line)) lastDatedStamp_.assign(line.substr(0, 19));
                // Where the history ended before this refresh is where the router's new lines
                // begin: the lines filled in now, behind it or not, do not move it.
                if (TakeFilled(line)) {
                    ListCaptured(line);
                    return true;
                }
                historyEnd_.Add(line);
                if (ListHistory() && !F.syslog.DisplayFull && HistoryLineInTimeframe(line))
                    F.syslog.DisplayFull = SysLogAdd(F, options_, line, reader_);
                return true;
            });
            if (cancelled) return;
        }
    }

    bool HistoryLineInTimeframe(std::string_view line) const {
        const auto from = [&](const std::string& day) {
            const std::string_view date = IsUndated(line) ? std::string_view(lastDatedStamp_) : line;
            return date.substr(0, 10) >= day;
        };
        switch (ChosenTimeframe()) {
            case All:
                return true;
            case Week:
                return from(weekAgo_);
            case TwoDays:
                return from(yesterday_);
            default:
                return false;
        }
    }

    // The router's lines, oldest first.
    void ReadRouterLines() {
        const size_t pageCount = lines_.size();
        for (size_t i = 0; i < pageCount; ++i) {
            ShowProgress(F, double(i + 1) / double(pageCount), "Read Router");
            if (F.QuitRequested || F.UnloadRequested) return;
            for (std::string& line : lines_[i]) {
                if (Cancelled()) return;
                RouterLine(line);
            }
        }
    }

    // Lines the history holds are skipped; from the first it lacks on, each is stored. The
    // magenta row goes after the router's copy of the last stored line, or before the first line
    // of a router log that began anew since the history ended.
    void RouterLine(std::string& line) {
        const bool undated = IsUndated(line);
        bool newFollow = false;
        if (KeepHistory() && !started_) {
            switch (historyEnd_.Locate(line, firstStamp_)) {
                case HistoryEnd::Place::Stored:
                    break;
                case HistoryEnd::Place::LastStored:
                    newFollow = true;
                    break;
                case HistoryEnd::Place::New:
                    StartAdding();
                    break;
                case HistoryEnd::Place::NewAfterRestart:
                    StartAdding();
                    Mark(StartNew(F.SysLog, F.syslog));
                    break;
            }
        }
        if (KeepHistory() && started_ && Stamp(line) < upperStamp_) AppendHistory(line);
        if (adding_ && !F.syslog.DisplayFull && (undated || Stamp(line) <= upperStamp_))
            F.syslog.DisplayFull = SysLogAdd(F, options_, line, reader_);
        if (newFollow) {
            StartAdding();
            Mark(StartNew(F.SysLog, F.syslog));
        }
    }

    void StartAdding() {
        started_ = true;
        adding_ = true;
    }

    // A separator that found no room fills the list as a record would.
    void Mark(bool added) {
        if (added || F.syslog.DisplayFull) return;
        F.syslog.DisplayFull = true;
        ReportDisplayFull(F);
    }

    // Each line goes to the file of its own day; a line without a date to the open file.
    void AppendHistory(const std::string& line) {
        std::string name = history_.IsOpen() ? history_.OpenName() : appendName_;
        int step = history_.IsOpen() ? 30 : 20;
        if (!IsUndated(line) && line.compare(0, 4, "00:0") != 0) {
            const std::string date = line.substr(0, 10);
            if (IsValidDate(date) && date != history_.OpenDate()) name = HistoryFileName(date);
        }
        std::string error;
        if (name != history_.OpenName() && !history_.Open(name, error))
            throw RefreshFailure{static_cast<int>(QFileDevice::OpenError), step, name, error};
        if (!history_.Append(line, error))
            throw RefreshFailure{static_cast<int>(QFileDevice::WriteError), step, name, error};
    }

    // Lets window events run now and then; true once the person asked to stop. A line takes well
    // under a microsecond: the clock is looked at once per batch of calls.
    bool Cancelled() {
        constexpr unsigned Batch = 256;
        if (calls_++ % Batch == 0 && pacer_.Due()) F.ui.DoEvents();
        return F.QuitRequested || F.UnloadRequested;
    }

    // Finish the list, choose the myNetWatchman lines, convert addresses, count.
    void Finish() {
        finished_ = true;
        ShowProgress(F, -1, "");
        SysLogFinish(F);
        if (F.SysLog.HasRecords() && !F.QuitRequested && !F.UnloadRequested) {
            if (F.CmnW.Value) SysLogMNW(F);
            ConvertAddresses();
        }
        CountMissingNames();
    }

    void ConvertAddresses() {
        if (F.ConvertIPInEffect) {
            if (F.LookupThreads < 2) {
                ConvertAddr(F, F.SysLog, R::RemAddr);
            } else {
                LookupSysLogNames(F, F.SysLog, !F.AutoMode);
            }
            if (F.LogResolve && !F.QuitRequested) ConvertAddr(F, F.SysLog, R::LocalAddr);
        }
        if (F.ConvertURLInEffect && !F.QuitRequested) ConvertAddr(F, F.SysLog, R::RemURL);
    }

    // Records with a remote address and no name; separators and messages have neither.
    void CountMissingNames() {
        int missing = 0;
        for (int row = 1; row < F.SysLog.Rows(); ++row)
            if (IsIPAddress(F.SysLog.TextMatrix(row, R::RemAddr)) &&
                F.SysLog.TextMatrix(row, R::RemURL).empty())
                ++missing;
        F.SysStats.SetTextMatrix(1, 10, std::to_string(missing));
    }

    // Back to the normal state; an unattended run also saves what it found.
    void End() {
        ShowProgress(F, -1, "");
        const bool cancelled = F.QuitRequested;
        F.Busy = false;
        F.QuitRequested = false;
        F.BQuit.Caption = quitCaption_;
        F.SysLog.SetRedraw(true);
        F.SysLog.Visible = true;
        F.SysCaption.Visible = F.SysStats.Visible;
        F.ui.SetMousePointer(MousePointer::Default);
        const std::string folderProblem = SbLogFolderProblem(F);
        const bool autoRun = F.AutoMode && !cancelled && !F.UnloadRequested;
        if (autoRun) {
            if (folderProblem.empty()) SysLogSave(F, true);
            if (F.AutoMode) SysLogmNWSave(F);
        }
        if (!folderProblem.empty() && finished_ && !F.UnloadRequested &&
            (autoRun || F.CompSB.Value || (F.CSaveSysLog.Value && !historyFolderExists_)))
            ReportFolderProblem(folderProblem);
        const bool unattended = F.AutoMode;
        if (failedPage_ >= 0 && !F.UnloadRequested) ReportUnreadPage();
        if (!fill_.unreadable.empty() && finished_ && !F.UnloadRequested) ReportUnreadCapture(unattended);
    }

    // A capture file that cannot be read leaves the gaps it would fill: said, like a page that
    // failed, after what was read is saved. Its lines wait for the next refresh.
    void ReportUnreadCapture(bool unattended) {
        std::string files;
        for (const std::string& file : fill_.unreadable) files += (files.empty() ? "" : ", ") + file;
        if (unattended) {
            std::string& part = F.Summary.ReadInPart;
            part += (part.empty() ? "" : ", ") + std::string("a capture file could not be read");
        }
        ReportProblem(F, "Could not read the syslog receiver's capture: " + files +
                             ". The router's lines in it that its pages no longer hold were not added; the "
                             "next refresh tries again.");
    }

    // Without Stillbeacon's folder the records are only listed: nothing is compared or merged, and
    // a history that cannot be kept is said to be lost too. An unattended run ends as failed.
    void ReportFolderProblem(const std::string& problem) {
        std::string text =
            problem +
            ". The records were listed, but not compared with Stillbeacon's logs or merged into them";
        if (F.CSaveSysLog.Value && !historyFolderExists_)
            text += ", and the router's lines were not kept in the history files";
        ReportProblem(F, text + ".", MsgIcon::Exclamation, MsgButtons::OK, drovix::ErrorTitle);
    }

    // A page that failed to load is no end of the log: said after what was read is saved, so
    // that an unattended run keeps it. The history ends with the last line read, so the next
    // refresh reads the rest.
    void ReportUnreadPage() {
        const std::string page = "page " + std::to_string(failedPage_ + 1);
        std::string text = "Could not read " + page + " of the Router's System Log (" + failedAddress_ + ")";
        if (pagesRead_ == 0) {
            text += ": nothing was read.";
        } else {
            text += ": only the records of the pages before it were read. The next refresh reads the rest.";
            // An unattended run that met no other problem saved what it read: its summary line
            // is still printed, marked as partial.
            if (F.AutoMode) F.Summary.ReadInPart = page + " could not be read";
        }
        ReportProblem(F, text);
    }

    MainForm& F;
    SysLogKind kind_ = SysLogKind::Standard;
    SysLogLayout layout_;
    AdmissionOptions options_;
    RouterLineReader reader_;  // reads each line listed
    std::vector<std::string> pages_;
    std::vector<std::vector<std::string>> lines_;
    std::string routerTime_, now_, today_, yesterday_, weekAgo_, lastDate_;
    std::string firstStamp_, upperStamp_, since_;
    std::string quitCaption_;  // the Exit button's caption, given back at the end
    std::string lastDatedStamp_, lastReadName_, appendName_;
    bool adding_ = true, started_ = false;
    bool historyFolderExists_ = false, finished_ = false;
    int failedPage_ = -1, pagesRead_ = 0;
    std::string failedAddress_;
    HistoryEnd historyEnd_;
    HistoryAppender history_;
    std::optional<std::vector<std::string>> historyNames_;  // listed before the capture filled any
    CaptureFill fill_;
    std::unordered_map<std::string, int> filledLeft_;  // filled lines the reload has yet to meet
    EventPacer pacer_;
    unsigned calls_ = 0;  // of Cancelled
};

}  // namespace

void SysLogMain(MainForm& F, const std::string&) {
    SysLogRefresh(F).Run();
}
