#include "form/DesignDefaults.h"

#include "form/Constants.h"
#include "form/MainForm.h"

void ApplyDesignDefaults(MainForm& F) {
    F.UserID.Text = "admin";
    F.IPAddr.Text = "192.168.1.1";
    F.PW.Text.clear();
    F.RouterWait.Text = drovix::DefaultRouterWait;
    F.RouterRetry.Text = drovix::DefaultRouterRetry;
    F.RouterDelay.Text = drovix::DefaultRouterDelay;
    F.MaxTdiff.Text = "30";
    F.mnThreads.Text = "30";

    F.SavePW.Value = false;
    for (CheckBox* box : {&F.CkConvertIP, &F.CkConvertURL, &F.CCacheFailures, &F.CompSB, &F.CompDX,
                          &F.CompAddr, &F.CSysLog, &F.CSaveSysLog, &F.CmnW}) {
        box->Value = false;
    }

    // Timeframe "2 days".
    for (size_t i = 0; i < F.Include.size(); ++i) F.Include[i].Value = i == 2;

    // Display: inbound, outbound, messages, warnings and the DX history on; "Unlogged only" and
    // "Ignored" off, so a first run shows every record the router has.
    const bool shown[7] = {true, true, true, true, true, false, false};
    for (size_t i = 0; i < F.ShowMessages.size(); ++i) F.ShowMessages[i].Value = shown[i];

    F.ConvertIPInEffect = false;
    F.ConvertURLInEffect = false;
    F.LookupThreads = 0;
    F.AltAuth = 0;
    F.StdOnly = false;
    F.LastMnwTime.clear();
}
