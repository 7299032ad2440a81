#include "app/OptionsCommands.h"

#include <algorithm>
#include <vector>

#include "app/RunCycle.h"
#include "app/Settings.h"
#include "form/MainForm.h"
#include "router/RouterPages.h"
#include "router/WanMonitor.h"
#include "text/AddressText.h"
#include "ui/Layout.h"
#include "ui/OptionsDependents.h"
#include "ui/OptionsFields.h"
#include "ui/OptionsPanel.h"

namespace {

bool AnyListHoldsRecords(const MainForm& F) {
    return F.SysLog.HasRecords() || F.InLog.HasRecords() || F.OutLog.HasRecords();
}

// The settings file puts every option back; the window's size and the column widths are not
// options and stay as the user left them.
void RestoreSavedOptions(MainForm& F) {
    PutBackOptionControls(F);
    const MainForm::Geometry window = F.Window;
    const int windowState = F.WindowState;
    std::vector<int> widths;
    for (int c = 0; c < F.SysLog.Cols(); ++c) widths.push_back(F.SysLog.ColWidth(c));
    const auto inWidths = F.display.InLogWidths, outWidths = F.display.OutLogWidths;

    F.SettingsChanged = false;
    IniRead(F);
    // Reading the settings does not click the monitor's box: the monitor must follow it here.
    MatchWanMonitorToBox(F);

    F.Window = window;
    F.WindowState = windowState;
    for (int c = 0; c < std::min<int>(F.SysLog.Cols(), static_cast<int>(widths.size())); ++c) {
        F.SysLog.SetColWidth(c, widths[c]);
    }
    F.display.InLogWidths = inWidths;
    F.display.OutLogWidths = outWidths;
    SyncDependentControls(F);
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
        // The new layout refreshes the lists that hold records; lists without any are refreshed
        // below, so that a first good password still brings the logs in.
        const bool listed = AnyListHoldsRecords(F);
        refresh = !listed && !F.Initializing;
        ChangeLayout(F);
        if (listed && !F.Initializing) BRun_Click(F);
        if (F.OptionsFrame.Visible) return;  // the refresh ran into a problem and reopened the panel
        F.SettingsChanged = false;
    }
    // A failed write is told now, not only at Exit, and Exit tries again.
    const bool saved = SaveSettings(F);
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
    // An address that is no host would be written into the settings and fail every refresh.
    if (!F.CancelRequested && !IsHostWithOptionalPort(F.IPAddr.Text)) {
        F.ui.MsgBox("\"" + F.IPAddr.Text +
                        "\" is not a router address: enter the Router's host name or IP address, with an "
                        "optional \":port\" (for example 192.168.1.1 or 192.168.1.1:8080).",
                    MsgIcon::Exclamation, MsgButtons::OK, F.Title);
        F.FocusedControl = "IPAddr";
        return;
    }
    HideOptions(F);
    F.LSetUp.Visible = false;
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

void OptionsFrame_KeyDown(MainForm& F, int key) {
    if (key == KeyEscape && F.OptionsFrame.Visible && F.BCancelOptions.Visible) BCancelOptions_Click(F);
}

void PW_KeyUp(MainForm& F, int key) {
    if (key == KeyEnter && F.OptionsFrame.Visible) BOptions_Click(F);
}
