#include "app/RunCycle.h"

#include "app/FirstStart.h"
#include "app/LastRun.h"
#include "app/OptionsCommands.h"
#include "app/ScheduleTimer.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "files/FileBytes.h"
#include "form/Constants.h"
#include "form/EventDispatch.h"
#include "form/MainControls.h"
#include "form/MainForm.h"
#include "form/OsServices.h"
#include "form/ProblemReport.h"
#include "form/Progress.h"
#include "router/PageFetcher.h"
#include "router/PageSource.h"
#include "router/RouterContact.h"
#include "router/RouterPages.h"
#include "router/RouterProblem.h"
#include "router/WanMonitor.h"
#include "stdlog/StdLogParser.h"
#include "syslog/SysLogDriver.h"
#include "syslog/SysLogLists.h"
#include "ui/Help.h"
#include "ui/Layout.h"
#include "ui/ListMouse.h"
#include "ui/OptionsDependents.h"
#include "ui/SysLogFilter.h"
#include "ui/StatusLine.h"

namespace {

bool Contains(const std::string& text, const char* what) {
    return text.find(what) != std::string::npos;
}

void FocusIfVisible(MainForm& F, const Control& control, const char* name) {
    if (control.Visible) F.FocusedControl = name;
}

const char* const kStdSaveHilitedTip =
    "Save highlighted records (the ones not already in SB logs) in Stillbeacon format, to LOG yyyy-mm-dd "
    "hhmm.TXT";

// A router whose System Log page was refused: the user must correct the password. The refresh
// ends here, so the panel it opens is no longer one that waits for it.
void ReportRefusedPassword(MainForm& F) {
    F.SysLogMode = false;
    ReportProblem(F, "Can't contact the Router: Missing or invalid Password (" + RefusedLogonDetail(F) + ")",
                  MsgIcon::Exclamation);
    F.Refreshing = false;
    BOptions_Click(F);
    FocusIfVisible(F, F.PW, "PW");
}

// The save buttons say what they save in the list's mode.
void ShowSaveButtons(MainForm& F, bool sysLog) {
    if (sysLog) {
        if (F.CmnW.Value) {
            F.BSaveAll.Caption = "Update mNW log";
            F.BSaveAll.ToolTipText = "Save records marked in brown to myNetWatchman log file \"SBmNW.log\"";
            F.BSaveAll.Visible = true;
        } else {
            F.BSaveAll.Visible = false;
        }
        F.BSaveHilited.Caption = "Update SB logs";
    } else {
        F.BSaveAll.Caption = "Save All";
        F.BSaveAll.ToolTipText = "Save all records in Stillbeacon format, to \"LOG yyyy-mm-dd hhmm.TXT\"";
        F.BSaveAll.Visible = true;
        F.BSaveHilited.Caption = "Save highlighted";
    }
}

// The router keeps its records in its System Log, which is not read, and its tables hold none: the
// person is told so, rather than only "Logs are empty or unavailable", and may have it read now.
void OfferSystemLog(MainForm& F, const std::string& firstPage) {
    const MsgAnswer answer = F.ui.MsgBox(
        "The Router's Incoming and Outgoing tables are empty, but it keeps a System Log, and \"Use Router's "
        "System Log\" is off. Check it and read the System Log now?",
        MsgIcon::Question, MsgButtons::YesNo, F.Title);
    if (answer != MsgAnswer::Yes || F.UnloadRequested) return;
    F.CSysLog.Value = true;
    CSysLog_Click(F);
    SaveSettings(F);
    F.LNoLogs.Visible = false;
    for (Control* c : {static_cast<Control*>(&F.InCaption), static_cast<Control*>(&F.OutCaption)})
        c->Visible = false;
    F.InLog.Visible = F.OutLog.Visible = false;
    F.SysLog.Visible = F.SysStats.Visible = true;
    F.SysCaption.Visible = true;
    Form_Resize(F);
    SysLogMain(F, firstPage);
}

// The status line tells how the last unattended run ended, as that run left it.
void ShowLastUnattendedRun(MainForm& F) {
    const auto run = ReadLastRun(F.ProgramDir);
    if (!run) return;
    F.status.LastUnattendedRun = "Last unattended run " + run->time + ": exit status " +
                                 std::to_string(run->exitStatus) + ", " + run->summary;
    ShowStatusLine(F);
}

}  // namespace

void Form_Load(MainForm& F, const std::string& commandLine) {
    if (WantsAutoMode(commandLine)) F.AutoMode = true;
    if (HasSwitch(commandLine, "trace")) F.TraceOn = true;
    Initialize(F);
    if (F.AutoMode) {
        BQuit_Click(F);
        // Still unattended after the exit sequence: the run completed without a problem.
        if (F.AutoMode) PrintRunSummary(F.Summary);
    } else if (!F.Summary.ReadInPart.empty()) {
        // The router's log was read only in part, which the message said; what was read was
        // saved, and the line tells what.
        PrintRunSummary(F.Summary);
    }
}

void Initialize(MainForm& F) {
    F.Title = drovix::WindowTitle;
    F.WindowSnapshot = F.Window;

    F.TracePath = F.ProgramDir + "Drovix_Trace.Log";
    RemoveFile(F.TracePath);

    F.InLog.SetCols(4);
    F.OutLog.SetCols(5);
    F.OptionsFrame.Top = F.BSaveAll.Top;
    F.OptionsFrame.Visible = false;

    F.RouterClockOffset = drovix::ClockNotKnown;
    F.ScrambleKey = drovix::ScrambleKey;
    F.NbspChar = std::string(1, '\xA0');
    F.BadNameChars = MakeBadNameChars();
    F.WinNT5 = WinVer();

    LayoutProgress(F);
    F.IPAddr.Text = LocalIPAddresses();
    IniRead(F);
    CreateURLs(F);
    // A saved "Monitor WAN Address" starts the monitor. It starts here, once the page addresses
    // exist, so its first check reads the router instead of logging an empty address; and
    // starting it is no change of the settings.
    MatchWanMonitorToBox(F);

    if (!F.AutoMode) {
        ShowLastUnattendedRun(F);
        ShowTimerState(F);
    }
    F.Initializing = true;
    ChangeLayout(F);
    if (!F.AutoMode) F.ui.ShowWindow();
    F.ui.DoEvents();
    HelpLoad(F);

    if (!F.RouterAddress.empty() && !F.StoredPassword.empty() && !F.InLog.HasRecords() &&
        !F.OutLog.HasRecords()) {
        FocusIfVisible(F, F.BRun, "BRun");
        BRun_Click(F);
        if (F.InLog.Visible) {
            F.FocusedControl = "InLog";
        } else if (F.SysLog.Visible) {
            F.FocusedControl = "SysLog";
        }
    } else {
        // An unattended run that cannot refresh must not end as one that found nothing to do.
        if (F.AutoMode) F.Summary.NotSetUp = MissingForUnattendedRun(F);
        BOptions_Click(F);
        if (!F.AutoMode) ShowSetUpNotice(F);
        FocusIfVisible(F, F.PW, "PW");
    }
    F.Initializing = false;
}

void BRun_Click(MainForm& F) {
    // While the lists are being filled the options wait (applying them would refill the lists).
    const bool wasRefreshing = F.Refreshing;
    F.Refreshing = true;
    struct RefreshEnd {
        MainForm& F;
        bool before;
        ~RefreshEnd() { F.Refreshing = before; }
    } refreshEnd{F, wasRefreshing};

    HideLookupAnswer(F);  // the rows it belongs to are read anew
    const MousePointer pointer = F.ui.GetMousePointer();
    F.ui.SetMousePointer(MousePointer::Hourglass);
    F.BRun.Enabled = false;
    F.BSaveAll.Enabled = false;
    F.BSaveHilited.Enabled = false;
    // A refresh that reads the System Log shows its buttons from the start, not the standard ones.
    if (F.SysLog.Visible || (F.CSysLog.Value && !F.StdOnly)) {
        ShowSaveButtons(F, true);
        Form_Resize(F);
    }
    F.ui.DoEvents();

    FetchLogs(F);
    if (F.Unloaded || F.UnloadRequested) return;

    if (F.OptionsFrame.Visible) {
        F.ui.SetMousePointer(MousePointer::Default);
        return;
    }
    ShowSaveButtons(F, F.SysLog.Visible);
    if (F.SysLog.Visible) {
        if (!F.SysFilter.Text.empty()) SysFilter_Change(F);  // the filter holds for the new rows too
        if (F.SysLog.HasRecords()) F.BRun.Caption = "&Refresh";
    } else {
        F.BSaveAll.Enabled = true;
        if (F.OutLog.HasRecords() || F.InLog.HasRecords()) F.BRun.Caption = "&Refresh";
    }
    F.BSaveHilited.Visible = true;
    F.BRun.Enabled = true;
    if (F.Summary.Read != RunSummary::Source::Nothing) NoteRefreshInStatusLine(F);
    Form_Resize(F);  // the buttons' new captions may need more room
    FocusIfVisible(F, F.BRun, "BRun");
    F.ui.SetMousePointer(pointer);
}

void FetchLogs(MainForm& F) {
    std::string page;
    {
        RouterContact contact(F);
        ShowProgress(F, 0.5, "Contacting Router");
        if (!F.router.NewFamily) CheckWAG54G(F);
        if (!F.StdOnly && !contact.Cancelled()) {
            page = FetchPage(F, F.router.SysLogSelectURL);
            if (!page.empty() && !contact.Cancelled()) page = FetchPage(F, F.router.SysLogPageURL);
        }
        ShowProgress(F, -1, "");
        // A refresh the person cancelled leaves the lists as they were, and is no failure.
        if (contact.Cancelled()) return;
    }

    if (!F.StdOnly) {
        if (F.UnloadRequested) return;

        if (LogonRefused(F, page)) {
            ReportRefusedPassword(F);
            return;
        }
        if (!Contains(page, "Error 404 Not Found") &&
            (Contains(page, "System Log") || Contains(page, "VPNLog"))) {
            F.SysLogMode = true;
            if (!F.SysLog.Visible && !F.CSysLog.Visible) {
                F.CSysLog.Visible = true;
                F.CSaveSysLog.Visible = true;
                F.CmnW.Visible = true;
                F.BSaveHilited.ToolTipText = "Merge records highlighted in light blue into the SB logs";
                CSysLog_Click(F);
                F.SettingsChanged = false;
                F.LAutorun.Visible = true;
                SysLogSetup(F);
            }
            if (F.CSysLog.Value) {
                SysLogMain(F, page);
                return;
            }
            F.BSaveHilited.ToolTipText = kStdSaveHilitedTip;
            ProcessStdLogs(F);
            if (F.LNoLogs.Visible && !F.AutoMode && !F.UnloadRequested) OfferSystemLog(F, page);
            return;
        } else {
            F.SysLogMode = false;
            F.CSysLog.Visible = false;
            F.CSaveSysLog.Visible = false;
            F.CmnW.Visible = false;
            F.OptionsFrame.Width = F.OptionsNarrowWidth;
            F.BSaveHilited.ToolTipText = kStdSaveHilitedTip;
            F.LAutorun.Visible = false;
        }
    }
    ProcessStdLogs(F);
}

void BQuit_Click(MainForm& F) {
    if (F.Busy) {
        F.QuitRequested = true;
        if (F.ContactingRouter) CancelTransfers(F);
        return;
    }
    // A check that started during the last events would log the cut-short page as a change.
    StopWanChecks(F);
    for (int c = 0; c < F.SysLog.Cols() && !F.SettingsChanged; ++c) {
        const bool hasSlot = c < static_cast<int>(F.ColumnWidthSnapshot.size());
        if (!hasSlot || !F.ColumnWidthSnapshot[c] || *F.ColumnWidthSnapshot[c] != F.SysLog.ColWidth(c)) {
            F.SettingsChanged = true;
        }
    }
    if (!(F.Window == F.WindowSnapshot) || F.display.StdWidthsChanged) F.SettingsChanged = true;
    if (F.SettingsChanged) SaveSettings(F);

    CancelTransfers(F);
    F.InLog.SetRows(1);
    F.OutLog.SetRows(1);
    F.SysLog.SetRows(1);
    RequestUnload(F);
    F.ui.DoEvents();
}
