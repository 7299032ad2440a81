#include "ui/OptionsPanel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/RunCycle.h"
#include "app/Settings.h"
#include "form/Constants.h"
#include "form/MainForm.h"
#include "router/RouterPages.h"
#include "router/WanMonitor.h"
#include "ui/Layout.h"
#include "ui/OptionsDependents.h"
#include "ui/OptionsFields.h"

namespace {

// Copies the option controls between the form and the snapshot, in either direction.
template <typename Form, typename Snapshot>
void CopyOptionControls(Form& from, Snapshot& to) {
    to.UserID = from.UserID;
    to.IPAddr = from.IPAddr;
    to.PW = from.PW;
    to.mnThreads = from.mnThreads;
    to.RouterWait = from.RouterWait;
    to.RouterRetry = from.RouterRetry;
    to.RouterDelay = from.RouterDelay;
    to.MaxTdiff = from.MaxTdiff;
    to.SavePW = from.SavePW;
    to.CkConvertIP = from.CkConvertIP;
    to.CkConvertURL = from.CkConvertURL;
    to.CCacheFailures = from.CCacheFailures;
    to.CSysLog = from.CSysLog;
    to.CSaveSysLog = from.CSaveSysLog;
    to.CmnW = from.CmnW;
    to.CompAddr = from.CompAddr;
    to.CompSB = from.CompSB;
    to.CompDX = from.CompDX;
    to.Include = from.Include;
    to.ShowMessages = from.ShowMessages;
    to.LnThreads = from.LnThreads;
    to.LmaxTdiff = from.LmaxTdiff;
    to.BReplaceToday = from.BReplaceToday;
}

bool AnyListHoldsRecords(const MainForm& F) {
    return F.SysLog.HasRecords() || F.InLog.HasRecords() || F.OutLog.HasRecords();
}

void RememberScreen(MainForm& F) {
    OptionsState& S = F.options;
    S.SaveAllEnabledAtOpen = F.BSaveAll.Enabled;
    S.SaveHilitedEnabledAtOpen = F.BSaveHilited.Enabled;
    S.InLogShownAtOpen = F.InLog.Visible;
    S.OutLogShownAtOpen = F.OutLog.Visible;
    S.InCaptionShownAtOpen = F.InCaption.Visible;
    S.OutCaptionShownAtOpen = F.OutCaption.Visible;
    S.SysLogShownAtOpen = F.SysLog.Visible;
    S.SysStatsShownAtOpen = F.SysStats.Visible;
    S.AddressAtOpen = F.IPAddr.Text;
    S.PasswordAtOpen = F.PW.Text;
    CopyOptionControls(F, S.ControlsAtOpen);
    S.ControlsAtOpen.PanelWidth = F.OptionsFrame.Width;
}

void OpenOptions(MainForm& F) {
    RememberScreen(F);
    F.BOptions.Caption = "OK";
    F.OptionsFrame.Visible = true;
    for (Control* c : {static_cast<Control*>(&F.LIPA), static_cast<Control*>(&F.CurrWanAddr),
                       static_cast<Control*>(&F.LNoLogs), static_cast<Control*>(&F.InCaption),
                       static_cast<Control*>(&F.OutCaption), static_cast<Control*>(&F.BSaveAll),
                       static_cast<Control*>(&F.BSaveHilited), static_cast<Control*>(&F.BRun)}) {
        c->Visible = false;
    }
    F.InLog.Visible = F.OutLog.Visible = F.SysStats.Visible = F.SysLog.Visible = false;
    F.SysCaption.Visible = false;
    F.BCancelOptions.Visible = true;
    F.mnThreads.Text = std::to_string(F.LookupThreads);
    SyncDependentControls(F);
}

void HideOptions(MainForm& F) {
    const OptionsState& S = F.options;
    F.BOptions.Caption = "&Options";
    F.OptionsFrame.Visible = false;
    F.LHelp.Visible = false;
    F.options.LastHelpKey.clear();
    F.LIPA.Visible = F.CompAddr.Value;
    F.CurrWanAddr.Visible = F.CompAddr.Value;
    F.InLog.Visible = S.InLogShownAtOpen;
    F.OutLog.Visible = S.OutLogShownAtOpen;
    F.InCaption.Visible = S.InCaptionShownAtOpen;
    F.OutCaption.Visible = S.OutCaptionShownAtOpen;
    F.SysLog.Visible = S.SysLogShownAtOpen;
    F.SysStats.Visible = S.SysStatsShownAtOpen;
    F.SysCaption.Visible = S.SysLogShownAtOpen;
    F.BSaveHilited.Visible = true;
    F.BSaveHilited.Enabled = S.SaveHilitedEnabledAtOpen;
    F.BSaveAll.Visible = true;
    F.BSaveAll.Enabled = S.SaveAllEnabledAtOpen;
    F.BRun.Visible = true;
    // A refresh that stopped to open the panel (a refused password) left Run disabled; with no
    // refresh running any more, the user must be able to start one.
    if (!F.Busy) F.BRun.Enabled = true;
    F.BCancelOptions.Visible = false;
    if (F.SysLog.Visible) Form_Resize(F);
}

// The settings file puts every option back; the window's size and the column widths are not
// options and stay as the user left them.
void RestoreSavedOptions(MainForm& F) {
    CopyOptionControls(F.options.ControlsAtOpen, F);
    F.OptionsFrame.Width = F.options.ControlsAtOpen.PanelWidth;
    const MainForm::Geometry window = F.Window;
    const int windowState = F.WindowState;
    std::vector<int> widths;
    for (int c = 0; c < F.SysLog.Cols(); ++c) widths.push_back(F.SysLog.ColWidth(c));

    F.SettingsChanged = false;
    IniRead(F);
    // Reading the settings does not click the monitor's box: the monitor must follow it here.
    MatchWanMonitorToBox(F);

    F.Window = window;
    F.WindowState = windowState;
    for (int c = 0; c < std::min<int>(F.SysLog.Cols(), static_cast<int>(widths.size())); ++c) {
        F.SysLog.SetColWidth(c, widths[c]);
    }
    SyncDependentControls(F);
}

// The thread count takes effect only when the System Log is read: lookups run concurrently there.
void AdoptThreadCount(MainForm& F) {
    long long n = std::llround(LeadingNumber(F.mnThreads.Text));
    n = std::clamp<long long>(n, 0, drovix::MaxLookupThreads);
    F.mnThreads.Text = std::to_string(n);
    if (SysLogInUse(F) && n != F.LookupThreads) F.LookupThreads = static_cast<int>(n);
}

void ApplyOptions(MainForm& F) {
    CreateURLs(F);

    bool conversionChanged = false;
    if (F.CkConvertIP.Value != F.ConvertIPInEffect) {
        F.ConvertIPInEffect = F.CkConvertIP.Value;
        conversionChanged = true;
    }
    if (F.CkConvertURL.Value != F.ConvertURLInEffect) {
        F.ConvertURLInEffect = F.CkConvertURL.Value;
        conversionChanged = true;
    }
    AdoptThreadCount(F);

    bool refresh = true;
    if (!SysLogInUse(F) || conversionChanged) {
        // The layout refreshes the lists itself, but only lists that already hold records: a
        // first good password must still bring the logs in.
        refresh = !AnyListHoldsRecords(F) && !F.Initializing;
        ChangeLayout(F);
        if (F.OptionsFrame.Visible) return;  // the refresh ran into a problem and reopened the panel
        F.SettingsChanged = false;
    }
    // A failed write is told now, not only at Exit, and Exit tries again.
    const bool saved = IniWrite(F);
    if (!saved) ReportSettingsNotSaved(F);
    if (refresh) BRun_Click(F);
    F.SettingsChanged = !saved;
    F.ui.DoEvents();
}

}  // namespace

void BOptions_Click(MainForm& F) {
    // Applying options rebuilds and refreshes the lists that a running loop or refresh is still
    // filling.
    if (F.Busy || F.Refreshing) return;
    if (!F.OptionsFrame.Visible) {
        OpenOptions(F);
        return;
    }
    HideOptions(F);
    if (F.CancelRequested) {
        RestoreSavedOptions(F);
        return;
    }
    if (!F.SettingsChanged) return;
    ApplyOptions(F);
}

void BCancelOptions_Click(MainForm& F) {
    F.CancelRequested = true;
    BOptions_Click(F);
    F.CancelRequested = false;
}
