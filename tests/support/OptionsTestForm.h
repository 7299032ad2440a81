#pragma once
#include <sys/stat.h>

#include <string>
#include <vector>

#include "IsolatedUserConfig.h"
#include "TestForm.h"
#include "app/Settings.h"
#include "form/DesignDefaults.h"
#include "form/MainForm.h"
#include "ui/Help.h"
#include "ui/OptionsDependents.h"
#include "ui/OptionsLayout.h"
#include "ui/OptionsPanel.h"

// A form started as the program starts it, from a settings file the test writes: design values,
// the panel's controls, the settings, the help table. The router address is a closed loopback
// port and the router timings are the shortest, so a refresh that the panel starts stays on this
// machine and ends at once.
struct OptionsTestForm {
    explicit OptionsTestForm(const std::string& extraSettings = {}) {
        (void)IsolatedConfigHome();
        ApplyDesignDefaults(F());
        SetupOptionsControls(F());
        WriteFileBytes(IniPath(),
                       "ADDRESS=127.0.0.1:1\r\nRRETRY=1\r\nRDELAY=1\r\nRWAIT=1\r\n" + extraSettings);
        IniRead(F());
        HelpLoad(F());
        // The window as a standard-log start leaves it: Incoming and Outgoing lists shown.
        F().InLog.Visible = F().OutLog.Visible = F().InCaption.Visible = F().OutCaption.Visible = true;
        F().BRun.Visible = F().BSaveAll.Visible = F().BSaveHilited.Visible = true;
        F().BRun.Enabled = F().BSaveAll.Enabled = F().BSaveHilited.Enabled = true;
        // Only a refresh disables Run and then lets events run.
        t.frontend.onDoEvents = [this] {
            if (!F().BRun.Enabled) refreshed = true;
        };
    }

    MainForm& F() { return t.F(); }
    std::string IniPath() { return t.dir.file("Drovix.ini"); }
    std::string IniText() { return ReadFileBytes(IniPath()); }

    // The System Log mode as its first refresh leaves the panel.
    void EnterSysLogMode(bool useSysLog) {
        F().CSysLog.Visible = F().CSaveSysLog.Visible = F().CmnW.Visible = F().LAutorun.Visible = true;
        F().CSysLog.Value = useSysLog;
        F().SysLogMode = true;
        F().InLog.Visible = F().OutLog.Visible = F().InCaption.Visible = F().OutCaption.Visible = false;
        F().SysLog.Visible = F().SysStats.Visible = true;
        // CSysLog_Click is applied at that refresh; the run cycle then forgets the change it marks.
        CSysLog_Click(F());
        F().SettingsChanged = false;
    }

    TestForm t;
    bool refreshed = false;
};

// Every option value of the panel, in one list, to compare a whole panel at once.
inline std::vector<std::string> OptionValues(MainForm& F) {
    std::vector<std::string> v;
    for (TextBox* t :
         {&F.UserID, &F.IPAddr, &F.PW, &F.RouterWait, &F.RouterRetry, &F.RouterDelay, &F.MaxTdiff}) {
        v.push_back(t->Text);
    }
    for (CheckBox* c : {&F.SavePW, &F.CkConvertIP, &F.CkConvertURL, &F.CCacheFailures, &F.CSysLog,
                        &F.CSaveSysLog, &F.CmnW, &F.CompAddr, &F.CompSB, &F.CompDX}) {
        v.push_back(c->Value ? "1" : "0");
    }
    for (auto& o : F.Include) v.push_back(o.Value ? "1" : "0");
    for (auto& c : F.ShowMessages) v.push_back(c.Value ? "1" : "0");
    return v;
}

// Which file is at a path and when it was last written: a rewrite shows even with equal contents.
inline std::string FileIdentity(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return "missing";
    return std::to_string(st.st_ino) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
           std::to_string(st.st_mtim.tv_nsec);
}
