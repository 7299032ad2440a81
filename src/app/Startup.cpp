#include "app/Startup.h"

#include <algorithm>
#include <cctype>

#include "app/CommandLine.h"
#include "app/PasswordStore.h"
#include "app/RunCycle.h"
#include "app/Settings.h"
#include "form/DesignDefaults.h"
#include "form/MainControls.h"
#include "form/MainForm.h"
#include "ui/Layout.h"
#include "ui/OptionsLayout.h"

void PrepareMainForm(MainForm& F, const std::string& programDir) {
    ConnectFormCommands(F);
    F.ProgramDir = programDir;
    F.SbLogDir = programDir;
    SetupMainControls(F);
    ApplyDesignDefaults(F);
    SetupOptionsControls(F);
}

void ConnectFormCommands(MainForm& F) {
    F.commands.Exit = BQuit_Click;
    F.commands.SaveSettings = SaveSettings;
    F.commands.Relayout = Form_Resize;
}

std::string JoinArguments(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

bool HasSwitch(const std::string& commandLine, const std::string& name) {
    std::string line = commandLine;
    std::transform(line.begin(), line.end(), line.begin(), [](unsigned char c) { return std::tolower(c); });
    return line.find("/" + name) != std::string::npos || line.find("-" + name) != std::string::npos;
}

bool WantsAutoMode(const std::string& commandLine) {
    return HasSwitch(commandLine, "auto");
}

std::string MissingForUnattendedRun(const MainForm& F) {
    std::string missing;
    if (F.RouterAddress.empty()) missing = "no router address in " + F.ProgramDir + "Drovix.ini";
    if (F.StoredPassword.empty()) {
        if (!missing.empty()) missing += " and ";
        missing += "no saved router password in " + PasswordStoreLocation();
    }
    if (missing.empty()) return missing;
    return missing + "; start drovix, enter them in the options, check \"Save Password\" and press OK";
}

int UnattendedExitStatus(const MainForm& F) {
    if (!F.AutoMode) return kExitProblemReported;
    return F.Summary.NotSetUp.empty() ? kExitCompleted : kExitNotSetUp;
}
