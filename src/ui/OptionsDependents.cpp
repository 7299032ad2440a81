#include "ui/OptionsDependents.h"

#include "form/MainForm.h"

namespace {

// The allowed time difference only matters when System Log records are compared with the SB logs.
void FollowMaxTdiff(MainForm& F) {
    F.MaxTdiff.Visible = F.CSysLog.Visible;
    F.LmaxTdiff.Visible = F.CSysLog.Visible;
    const bool used = F.CSysLog.Value && F.CompSB.Value;
    F.MaxTdiff.Enabled = used;
    F.LmaxTdiff.Enabled = used;
}

void FollowConversion(MainForm& F) {
    F.CCacheFailures.Enabled = F.CkConvertIP.Value || F.CkConvertURL.Value;
}

void FollowHistory(MainForm& F) {
    F.ShowMessages[4].Enabled = F.CSaveSysLog.Value;
    F.BReplaceToday.Enabled = F.CSaveSysLog.Value;
}

void FollowUnloggedOnly(MainForm& F) {
    F.ShowMessages[5].Enabled = SysLogInUse(F) && F.CompSB.Value;
}

void ShowSysLogPart(MainForm& F, bool shown) {
    F.OptionsFrame.Width = shown ? F.OptionsFullWidth : F.OptionsNarrowWidth;
    F.CSaveSysLog.Visible = shown;
    F.CmnW.Visible = shown;
    F.BReplaceToday.Visible = shown;
    F.mnThreads.Visible = shown;
    F.LnThreads.Visible = shown;
}

}  // namespace

bool SysLogInUse(const MainForm& F) {
    return F.CSysLog.Visible && F.CSysLog.Enabled && F.CSysLog.Value;
}

void SyncDependentControls(MainForm& F) {
    FollowMaxTdiff(F);
    const bool threads = SysLogInUse(F);
    F.mnThreads.Visible = threads;
    F.LnThreads.Visible = threads;
    FollowConversion(F);
    FollowHistory(F);
    FollowUnloggedOnly(F);
}

void CSysLog_Click(MainForm& F) {
    ShowSysLogPart(F, F.CSysLog.Value);
    FollowUnloggedOnly(F);
    FollowMaxTdiff(F);
    F.SettingsChanged = true;
}

void CompSB_Click(MainForm& F) {
    FollowMaxTdiff(F);
    FollowUnloggedOnly(F);
    F.SettingsChanged = true;
}

void CkConvertIP_Click(MainForm& F) {
    FollowConversion(F);
    F.SettingsChanged = true;
}

void CkConvertURL_Click(MainForm& F) {
    FollowConversion(F);
    F.SettingsChanged = true;
}

void CSaveSysLog_Click(MainForm& F) {
    FollowHistory(F);
    F.SettingsChanged = true;
}
