#include "ui/OptionsPanel.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "form/Constants.h"
#include "form/MainForm.h"
#include "text/SettingsText.h"
#include "ui/Layout.h"
#include "ui/ListMouse.h"
#include "ui/OptionsDependents.h"

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

}  // namespace

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
    HideLookupAnswer(F);
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

void PutBackOptionControls(MainForm& F) {
    CopyOptionControls(F.options.ControlsAtOpen, F);
    F.OptionsFrame.Width = F.options.ControlsAtOpen.PanelWidth;
}

void AdoptThreadCount(MainForm& F) {
    long long n = std::llround(LeadingNumber(F.mnThreads.Text));
    n = std::clamp<long long>(n, 0, drovix::MaxLookupThreads);
    F.mnThreads.Text = std::to_string(n);
    if (SysLogInUse(F) && n != F.LookupThreads) F.LookupThreads = static_cast<int>(n);
}
