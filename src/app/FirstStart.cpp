#include "app/FirstStart.h"

#include <algorithm>

#include "form/MainForm.h"
#include "sblog/SbLogFolder.h"

std::string SetUpNotice(const MainForm& F) {
    std::string text = "Drovix is not set up yet. It needs the Router's LAN address";
    text += F.RouterAddress.empty() ? " (none saved yet; \"" + F.IPAddr.Text + "\" is a guess)"
                                    : " (\"" + F.RouterAddress + "\")";
    text += ", the Router's password";
    text += F.StoredPassword.empty()
                ? " (none saved yet: check \"Save Password\" so that unattended runs can log on)"
                : " (saved)";
    text += " and Stillbeacon's log folder";
    const std::string folderProblem = SbLogFolderProblem(F);
    text += folderProblem.empty()
                ? " (\"" + F.SbLogDir + "\", from LOGDIR in \"" + F.ProgramDir + "Stillbeacon.ini\")."
                : ": " + folderProblem + ".";
    text += "\n\nEnter the address and password above, press \"Test connection\" to try them, then OK.";
    return text;
}

void ShowSetUpNotice(MainForm& F) {
    constexpr int kGap = 240;
    Label& notice = F.LSetUp;
    notice.Caption = SetUpNotice(F);
    notice.Left = F.OptionsFrame.Left + F.OptionsFrame.Width + kGap;
    notice.Top = F.OptionsFrame.Top;
    notice.Width = std::max(F.Window.Width - notice.Left - kGap, 0);
    notice.Height = F.OptionsFrame.Height;
    notice.Visible = true;
}
