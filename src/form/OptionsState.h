#pragma once
#include <array>
#include <string>
#include <vector>

#include "form/Controls.h"

// Every option control as it stood when the panel opened. Cancel puts them back before the
// settings file is read again, so that options the file does not hold come back too.
struct OptionControlsSnapshot {
    TextBox UserID, IPAddr, PW, mnThreads, RouterWait, RouterRetry, RouterDelay, MaxTdiff;
    CheckBox SavePW, CkConvertIP, CkConvertURL, CCacheFailures, CSysLog, CSaveSysLog, CmnW, CompAddr, CompSB,
        CompDX;
    std::array<OptionButton, 4> Include;
    std::array<CheckBox, 7> ShowMessages;
    Label LnThreads, LmaxTdiff;
    Button BReplaceToday;
    int PanelWidth = 0;
};

// What the options panel and its help pane remember.
struct OptionsState {
    // Enabled states of the two save buttons when the panel opened; they come back on closing.
    bool SaveAllEnabledAtOpen = false;
    bool SaveHilitedEnabledAtOpen = false;

    // Which lists were on screen when the panel opened. The panel covers them while it is open and
    // gives back exactly these: the run cycle reads the System Log list's visibility as the sign
    // that System Log mode has been set up.
    bool InLogShownAtOpen = false, OutLogShownAtOpen = false;
    bool InCaptionShownAtOpen = false, OutCaptionShownAtOpen = false;
    bool SysLogShownAtOpen = false, SysStatsShownAtOpen = false;

    // Router address and password as they were when the panel opened: typing them back is no change.
    std::string AddressAtOpen;
    std::string PasswordAtOpen;
    OptionControlsSnapshot ControlsAtOpen;

    // The instant-help table (key padded to 18 characters, then the explanation) and the last key
    // shown in the help pane.
    std::vector<std::string> HelpList;
    std::string LastHelpKey;
};
