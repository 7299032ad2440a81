#pragma once
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "form/Clock.h"
#include "form/Constants.h"
#include "form/Controls.h"
#include "form/FormCommands.h"
#include "form/Frontend.h"
#include "form/ListDisplayState.h"
#include "form/ListMenus.h"
#include "form/OptionsState.h"
#include "form/RecordGrid.h"
#include "form/ResolveState.h"
#include "form/RouterState.h"
#include "form/RunSummary.h"
#include "form/StatusLineState.h"
#include "form/StdLogState.h"
#include "form/SysLogState.h"

// All of Drovix's state: the flags, folders and values of the application, and every control of
// the main window as plain data. Procedures of every subsystem take the form and work on it;
// the Qt window draws it. Subsystems keep their private working state in their own member
// struct below (router, stdlog, ...), declared in their own folder.
struct MainForm {
    MainForm(Frontend& frontend, const Clock& clock) : ui(frontend), clock(clock) {}
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    Frontend& ui;
    const Clock& clock;
    // What lower procedures call of src/app and src/ui; set by src/app (ConnectFormCommands).
    FormCommands commands;

    // ---- application state ----
    bool AutoMode = false;
    bool TraceOn = false;
    bool SysLogMode = false;
    bool Busy = false;
    bool Refreshing = false;  // a refresh (BRun_Click) is on the stack
    bool QuitRequested = false;
    bool SettingsChanged = false;
    // Drovix.ini exists but could not be read: it must not be replaced by defaults.
    bool SettingsFileUnreadable = false;
    bool Initializing = false;
    bool CancelRequested = false;
    bool ContactingRouter = false;  // a refresh waits for router pages; Cancel aborts the wait
    // An Exit that arrived while a procedure was still on the stack; carried out when it returns.
    bool UnloadRequested = false;
    bool Unloaded = false;
    int HandlerDepth = 0;  // handlers of user actions now on the stack

    std::string ProgramDir;  // always ends with the platform separator
    std::string SbLogDir;    // Stillbeacon's log folder, ends with the separator
    // Stillbeacon.ini was read, so SbLogDir is Stillbeacon's folder rather than a mere default.
    bool SbSettingsFound = true;
    std::string TracePath;
    std::string StoredPassword;
    std::string RouterAddress;
    std::string ScrambleKey = drovix::ScrambleKey;
    std::string NbspChar = std::string(1, '\xA0');
    std::string BadNameChars;
    std::string WanAddress;
    std::string LastMnwTime;
    std::string Title = "Drovix";
    // The text of the last problem reported, for the record an unattended run leaves.
    std::string LastProblem;

    bool WinNT5 = false;
    bool ResolveNetBios = false;
    bool LogResolve = false;
    bool UseSubtypes = false;
    int Categorize = 0;
    long long RouterClockOffset = drovix::ClockNotKnown;
    int LookupThreads = 0;  // concurrent lookups in effect; 0 or 1: one at a time
    // ALTAUTH, the credential mode (0-3) the settings keep and the router probe sets; every mode
    // logs on alike.
    int AltAuth = 0;
    bool StdOnly = false;
    // NOTIFY: unattended runs tell the desktop when they merged records or failed.
    bool NotifyOn = true;
    // LISTEN: where drovix --listen receives the router's syslog, "[ADDR:]PORT"; empty: the default.
    std::string ListenAt;
    // The conversion directions in effect (the check boxes take effect when the options close).
    bool ConvertIPInEffect = false;
    bool ConvertURLInEffect = false;

    // Stillbeacon's "don't log" lists.
    std::vector<std::string> SBAddrList, SBRPortList, SBLPortList;

    // ---- window ----
    struct Geometry {
        int Left = 1200, Top = 900, Width = 12000, Height = 7800;
        bool operator==(const Geometry&) const = default;
    };
    Geometry Window;
    int WindowState = 0;  // 0 normal, 1 minimised, 2 maximised
    bool WindowVisible = false;
    Geometry WindowSnapshot;
    std::array<std::optional<int>, 13> ColumnWidthSnapshot{};
    std::string FocusedControl;  // name of the control that has the keyboard focus

    // ---- buttons ----
    Button BRun, BQuit, BSaveAll, BSaveHilited, BOptions, BCancelOptions, BReplaceToday;
    Button BTestConnection, BOpenLogFolder;

    // ---- options panel ----
    Frame OptionsFrame;
    int OptionsFullWidth = 0, OptionsNarrowWidth = 0;
    TextBox UserID, IPAddr, PW, mnThreads, RouterWait, RouterRetry, RouterDelay, MaxTdiff;
    Label LUserID, LIPAddr, LPW, LnThreads, LRouterWait, LRouterRetry, LRouterDelay, LmaxTdiff, LTimeframe,
        LDisplay, LAutorun;
    CheckBox SavePW, CkConvertIP, CkConvertURL, CCacheFailures, CSysLog, CSaveSysLog, CmnW, CompAddr, CompSB,
        CompDX;
    // "Run unattended every 10 minutes": not a setting of Drovix.ini but the user's systemd timer.
    CheckBox CkTimer;
    std::array<OptionButton, 4> Include;
    std::array<CheckBox, 7> ShowMessages;
    Label LHelp;   // the help pane
    Label LSetUp;  // beside the panel at a start that cannot refresh: what Drovix needs

    // ---- lists and their captions ----
    RecordGrid InLog, OutLog, SysLog, SysStats;
    Label InCaption, OutCaption;
    Label SysCaption;  // above the statistics row: what the last System Log refresh found
    TextBox SysFilter;  // beside SysCaption, drawn with it: the System Log list's filter text
    Label LNoLogs;     // "Logs are empty or unavailable", also the conversion progress
    TextBox LLookup;   // floating answer of a single lookup
    // The status line at the bottom of the window and what it is made of.
    Label LStatus;
    StatusLineState status;
    PopupMenu mpopIn = InboundMenu(), mpopOut = OutboundMenu(), mpopsys = SysLogMenu();
    ListDisplayState display;

    // ---- WAN address and progress ----
    Label LIPA, CurrWanAddr;
    TextBox TProgress;
    std::vector<Control> SProgress;  // the progress bar's segments
    int ProgressWidth = 4000;        // room for the progress display, in twips

    // ---- subsystems' own state ----
    RouterState router;
    StdLogState stdlog;
    ResolveState resolve;
    SysLogState syslog;
    OptionsState options;

    // What the refresh read and wrote, printed at the end of an unattended run.
    RunSummary Summary;
};
