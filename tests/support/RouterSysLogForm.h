#pragma once
#include <string>

#include "RouterSim.h"
#include "TestForm.h"
#include "app/Startup.h"
#include "router/RouterPages.h"

// A form logged on to the simulator, reading its System Log with every display filter on and
// comparing with Stillbeacon's logs in the test folder. The simulator sits at 127.0.0.1, so the
// LAN is 127.0.0.x.
struct RouterSysLogForm : TestForm {
    explicit RouterSysLogForm(RouterSim& sim) {
        MainForm& f = F();
        PrepareMainForm(f, dir.path());
        f.OptionsFrame.Visible = false;
        f.IPAddr.Text = sim.Address();
        f.UserID.Text = "admin";
        f.PW.Text = "admin";
        f.RouterWait.Text = "5";
        f.RouterRetry.Text = "1";
        f.RouterDelay.Text = "1";
        f.CSysLog.Value = true;
        f.CompSB.Value = true;
        f.MaxTdiff.Text = "2";
        f.Include[0].Value = true;
        for (auto& box : f.ShowMessages) box.Value = true;
        f.ShowMessages[4].Value = false;  // "DX history"
        f.ShowMessages[5].Value = false;  // "Unlogged only"
        CreateURLs(f);
    }
};

// The simulator's records file: its WAN address and clock, then the System Log lines given.
inline std::string SysLogRecords(const std::string& lines) {
    return "[wan]\n203.0.113.7\n[clock]\n2026-12-06 14:28:30\n[syslog]\n" + lines;
}
