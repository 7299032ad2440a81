#include <gtest/gtest.h>

#include <QTimer>

#include "app/OptionsCommands.h"
#include "router/WanMonitor.h"
#include "support/OptionsTestForm.h"
#include "ui/OptionsDependents.h"
#include "ui/OptionsFields.h"
#include "ui/OptionsPanel.h"

namespace {

const std::string kSettings =
    "SAVEPW=0\r\nCONVERT=1\r\nCONVERTURL=0\r\nCACHE=1\r\nCOMPSB=1\r\nMAXTIMEDIFF=45\r\n"
    "INCLUDEWEEK=1\r\nINCLUDETODAY=0\r\nSHOWIN=1\r\nSHOWOUT=0\r\nWINWIDTH=9000\r\n";

class OptionsPanelTest : public ::testing::Test {
  protected:
    OptionsTestForm T{kSettings};
    MainForm& F = T.F();
};

TEST_F(OptionsPanelTest, OpeningSwapsTheListsForThePanelAndClosingSwapsThemBack) {
    F.BSaveAll.Enabled = false;  // e.g. nothing to save yet
    BOptions_Click(F);
    EXPECT_TRUE(F.OptionsFrame.Visible);
    EXPECT_EQ(F.BOptions.Caption, "OK");
    EXPECT_TRUE(F.BCancelOptions.Visible);
    for (const Control* c :
         {(const Control*)&F.BRun, (const Control*)&F.BSaveAll, (const Control*)&F.BSaveHilited,
          (const Control*)&F.InCaption, (const Control*)&F.OutCaption, (const Control*)&F.LNoLogs}) {
        EXPECT_FALSE(c->Visible);
    }
    EXPECT_FALSE(F.InLog.Visible || F.OutLog.Visible || F.SysLog.Visible || F.SysStats.Visible);

    BOptions_Click(F);
    EXPECT_FALSE(F.OptionsFrame.Visible);
    EXPECT_FALSE(F.BCancelOptions.Visible);
    EXPECT_EQ(F.BOptions.Caption, "&Options");
    EXPECT_TRUE(F.InLog.Visible && F.OutLog.Visible && F.InCaption.Visible && F.OutCaption.Visible);
    EXPECT_FALSE(F.SysLog.Visible);
    EXPECT_TRUE(F.BRun.Visible && F.BSaveAll.Visible && F.BSaveHilited.Visible);
    EXPECT_FALSE(F.BSaveAll.Enabled) << "the save buttons come back as they were";
    EXPECT_TRUE(F.BSaveHilited.Enabled);
}

TEST_F(OptionsPanelTest, ClosingWithoutAChangeNeitherWritesNorRefreshes) {
    const std::string before = FileIdentity(T.IniPath());
    BOptions_Click(F);
    HelpShow(F, "compsb");
    BOptions_Click(F);
    EXPECT_EQ(FileIdentity(T.IniPath()), before);
    EXPECT_FALSE(T.refreshed);
    EXPECT_FALSE(F.LHelp.Visible);
}

// The window stays where the user put it.
TEST_F(OptionsPanelTest, CancelPutsEveryOptionBackAndWritesNothing) {
    F.Window.Width = 15000;
    const std::vector<std::string> saved = OptionValues(F);
    ASSERT_EQ(F.MaxTdiff.Text, "45");
    ASSERT_TRUE(F.Include[3].Value);
    const std::string before = FileIdentity(T.IniPath());
    const std::string text = T.IniText();

    BOptions_Click(F);
    F.UserID.Text = "someone";
    UserID_Change(F);
    F.IPAddr.Text = "127.0.0.2";
    F.PW.Text = "secret";
    PW_Change(F);
    IPAddr_Change(F);
    F.SavePW.Value = true;
    SavePW_Click(F);
    F.CkConvertIP.Value = false;
    CkConvertIP_Click(F);
    F.CompSB.Value = false;
    CompSB_Click(F);
    F.MaxTdiff.Text = "10";
    MaxTdiff_Change(F);
    F.RouterWait.Text = "9";
    RouterWait_Change(F);
    Include_Click(F, 0);
    F.ShowMessages[1].Value = true;
    ShowMessages_Click(F, 1);
    ASSERT_TRUE(F.SettingsChanged);

    OptionsFrame_KeyDown(F, 'A');
    EXPECT_TRUE(F.OptionsFrame.Visible);
    OptionsFrame_KeyDown(F, KeyEscape);  // as the Cancel button
    EXPECT_FALSE(F.OptionsFrame.Visible);
    EXPECT_EQ(OptionValues(F), saved);
    EXPECT_TRUE(F.CCacheFailures.Enabled);
    EXPECT_FALSE(F.SettingsChanged);
    EXPECT_FALSE(F.CancelRequested);
    EXPECT_EQ(FileIdentity(T.IniPath()), before);
    EXPECT_EQ(T.IniText(), text);
    EXPECT_FALSE(T.refreshed);
    EXPECT_EQ(F.Window.Width, 15000);
}

// The address field takes a host name or address with an optional port, and nothing else: OK says
// so and keeps the panel open with the field in focus.
TEST_F(OptionsPanelTest, OkRefusesAnAddressThatIsNoHostWithAnOptionalPort) {
    BOptions_Click(F);
    const char* const refused[] = {"http://192.168.1.1", "192.168.1.1/",   "my router", "192.168.1",
                                   "10.0.0.1:0",         "10.0.0.1:65536", "",          "admin@10.0.0.1"};
    for (const char* address : refused) {
        F.IPAddr.Text = address;
        F.FocusedControl.clear();
        BOptions_Click(F);
        EXPECT_TRUE(F.OptionsFrame.Visible) << address;
        EXPECT_EQ(F.FocusedControl, "IPAddr") << address;
        ASSERT_FALSE(T.t.frontend.messages.empty());
        EXPECT_EQ(T.t.frontend.messages.back().text.rfind(
                      "\"" + std::string(address) + "\" is not a router address", 0),
                  0u);
    }
    for (const char* address : {"192.168.1.1", "router.lan:8080", "127.0.0.1:80"}) {
        F.IPAddr.Text = address;
        BOptions_Click(F);
        EXPECT_FALSE(F.OptionsFrame.Visible) << address;
        BOptions_Click(F);
    }
    EXPECT_EQ(T.t.frontend.messages.size(), std::size(refused));
}

TEST_F(OptionsPanelTest, ClosingAfterAChangeWritesTheSettingsAndRefreshesOnce) {
    int refreshes = 0;
    T.t.frontend.onDoEvents = [&] {
        if (!F.BRun.Enabled && !T.refreshed) {
            T.refreshed = true;
            ++refreshes;
        }
    };
    BOptions_Click(F);
    F.RouterWait.Text = "3";
    RouterWait_Change(F);
    BOptions_Click(F);
    EXPECT_NE(T.IniText().find("RWAIT=3\r\n"), std::string::npos) << T.IniText();
    EXPECT_TRUE(T.refreshed) << "a first good setting must bring the logs in";
    EXPECT_EQ(refreshes, 1);
    EXPECT_FALSE(F.SettingsChanged);
    EXPECT_TRUE(F.BRun.Enabled);
}

// Enter moves on and applies (the widget test drives that path); other keys do nothing, and Enter
// in a closed panel's field does not open it again.
TEST_F(OptionsPanelTest, OnlyEnterActsAndOnlyInAnOpenPanel) {
    BOptions_Click(F);
    F.FocusedControl = "IPAddr";
    IPAddr_KeyUp(F, 65);
    F.PW.Text = "letmein";
    PW_Change(F);
    PW_KeyUp(F, 65);
    EXPECT_EQ(F.FocusedControl, "IPAddr");
    EXPECT_TRUE(F.OptionsFrame.Visible);
    PW_KeyUp(F, KeyEnter);
    EXPECT_FALSE(F.OptionsFrame.Visible);
    EXPECT_TRUE(T.refreshed);
    PW_KeyUp(F, KeyEnter);
    EXPECT_FALSE(F.OptionsFrame.Visible);
}

TEST_F(OptionsPanelTest, TheAddressAndPasswordCountAsChangedOnlyWhenTheyReallyChange) {
    F.PW.Text = "pw1";
    BOptions_Click(F);
    F.IPAddr.Text = "127.0.0.1:1";  // typed back as it was
    IPAddr_Change(F);
    F.PW.Text = "pw1";
    PW_Change(F);
    EXPECT_FALSE(F.SettingsChanged);

    F.PW.Text.clear();
    F.IPAddr.Text = "127.0.0.3";
    IPAddr_Change(F);
    EXPECT_FALSE(F.SettingsChanged) << "no password yet: nothing to apply";
    F.PW.Text = "pw2";
    PW_Change(F);
    EXPECT_TRUE(F.SettingsChanged);
}

TEST_F(OptionsPanelTest, ClearingThePasswordDisablesAndUnchecksSavePassword) {
    F.PW.Text = "pw1";
    F.SavePW.Value = true;
    BOptions_Click(F);
    F.PW.Text.clear();
    PW_Change(F);
    EXPECT_FALSE(F.SavePW.Enabled);
    EXPECT_FALSE(F.SavePW.Value);
    EXPECT_TRUE(F.SettingsChanged) << "the saved password has to go";

    F.IPAddr.Text.clear();
    F.PW.Text = "pw3";
    PW_Change(F);
    EXPECT_FALSE(F.SavePW.Enabled) << "no router address";
}

// "Cache failures" follows the conversion boxes without losing its tick; the conversions change
// when the panel closes.
TEST_F(OptionsPanelTest, ConversionChoicesTakeEffectWhenThePanelCloses) {
    ASSERT_TRUE(F.CCacheFailures.Value);
    ASSERT_TRUE(F.ConvertIPInEffect);
    BOptions_Click(F);
    EXPECT_TRUE(F.CCacheFailures.Enabled);
    F.CkConvertIP.Value = false;
    CkConvertIP_Click(F);
    EXPECT_FALSE(F.CCacheFailures.Enabled);
    EXPECT_TRUE(F.CCacheFailures.Value);
    F.CkConvertURL.Value = true;
    CkConvertURL_Click(F);
    EXPECT_TRUE(F.CCacheFailures.Enabled);
    EXPECT_TRUE(F.SettingsChanged);
    EXPECT_TRUE(F.ConvertIPInEffect) << "not before closing";
    BOptions_Click(F);
    EXPECT_FALSE(F.ConvertIPInEffect);
    EXPECT_TRUE(F.ConvertURLInEffect);
    EXPECT_NE(T.IniText().find("CONVERT=0\r\n"), std::string::npos);
    EXPECT_NE(T.IniText().find("CONVERTURL=1\r\n"), std::string::npos);
}

// The validator refuses a count out of range and puts the old one back; a count typed past it is
// clamped at OK. Only the System Log's lookups take it.
TEST_F(OptionsPanelTest, ThreadCountIsValidatedAndTakesEffectOnlyWhenTheSystemLogIsRead) {
    F.LookupThreads = 20;
    BOptions_Click(F);
    EXPECT_EQ(F.mnThreads.Text, "20") << "the panel shows the count in effect";
    for (const char* bad : {"121", "-1", "999"}) {
        F.mnThreads.Text = bad;
        F.FocusedControl = "MaxTdiff";
        mnThreads_LostFocus(F);
        EXPECT_EQ(F.mnThreads.Text, "20") << bad;
        EXPECT_EQ(F.FocusedControl, "mnThreads") << bad;
    }
    EXPECT_FALSE(F.SettingsChanged);
    F.mnThreads.Text = "20";
    mnThreads_LostFocus(F);
    EXPECT_FALSE(F.SettingsChanged);
    F.mnThreads.Text = "120";
    mnThreads_LostFocus(F);
    EXPECT_EQ(F.mnThreads.Text, "120");
    EXPECT_TRUE(F.SettingsChanged);
    BOptions_Click(F);
    EXPECT_EQ(F.LookupThreads, 20) << "standard logs: the count in effect stays";

    T.EnterSysLogMode(true);
    BOptions_Click(F);
    F.mnThreads.Text = "500";  // typed past the validator straight into OK
    F.UserID.Text = "y";
    UserID_Change(F);
    T.refreshed = false;
    BOptions_Click(F);
    EXPECT_EQ(F.mnThreads.Text, "120");
    EXPECT_EQ(F.LookupThreads, 120);
    EXPECT_NE(T.IniText().find("UTHREADS=120\r\n"), std::string::npos);
    EXPECT_TRUE(T.refreshed);
}

TEST_F(OptionsPanelTest, SystemLogOptionsAppearOnlyInSystemLogModeAndFollowTheirBoxes) {
    BOptions_Click(F);
    EXPECT_EQ(F.OptionsFrame.Width, F.OptionsNarrowWidth);
    for (const Control* c :
         {(const Control*)&F.CSysLog, (const Control*)&F.mnThreads, (const Control*)&F.MaxTdiff,
          (const Control*)&F.CSaveSysLog, (const Control*)&F.BReplaceToday, (const Control*)&F.CmnW,
          (const Control*)&F.LAutorun}) {
        EXPECT_FALSE(c->Visible);
    }
    BOptions_Click(F);

    T.EnterSysLogMode(true);
    EXPECT_EQ(F.OptionsFrame.Width, F.OptionsFullWidth);
    BOptions_Click(F);
    EXPECT_TRUE(F.mnThreads.Visible && F.LnThreads.Visible && F.CSaveSysLog.Visible &&
                F.BReplaceToday.Visible);
    EXPECT_TRUE(F.MaxTdiff.Visible);
    EXPECT_TRUE(F.MaxTdiff.Enabled) << "System Log read and compared with the SB logs";
    EXPECT_TRUE(F.ShowMessages[5].Enabled);
    // The history box enables the history's messages and "Re-do Today".
    EXPECT_FALSE(F.ShowMessages[4].Enabled);
    F.CSaveSysLog.Value = true;
    CSaveSysLog_Click(F);
    EXPECT_TRUE(F.ShowMessages[4].Enabled && F.BReplaceToday.Enabled);
    EXPECT_TRUE(F.SettingsChanged);

    F.CompSB.Value = false;
    CompSB_Click(F);
    EXPECT_FALSE(F.MaxTdiff.Enabled);
    EXPECT_FALSE(F.ShowMessages[5].Enabled);

    F.CSysLog.Value = false;
    CSysLog_Click(F);
    EXPECT_EQ(F.OptionsFrame.Width, F.OptionsNarrowWidth);
    EXPECT_FALSE(F.mnThreads.Visible || F.CSaveSysLog.Visible || F.CmnW.Visible || F.BReplaceToday.Visible);
    EXPECT_TRUE(F.MaxTdiff.Visible) << "it follows the box being shown, not checked";
    EXPECT_FALSE(F.MaxTdiff.Enabled);
}

TEST_F(OptionsPanelTest, TheSystemLogListComesBackInSystemLogMode) {
    T.EnterSysLogMode(true);
    BOptions_Click(F);
    EXPECT_FALSE(F.SysLog.Visible || F.SysStats.Visible);
    BCancelOptions_Click(F);
    EXPECT_TRUE(F.SysLog.Visible && F.SysStats.Visible);
    EXPECT_FALSE(F.InLog.Visible || F.OutLog.Visible);
    EXPECT_EQ(F.OptionsFrame.Width, F.OptionsFullWidth);
}

TEST_F(OptionsPanelTest, ARefusedPasswordLeavesRunUsableAfterTheUserClosesThePanel) {
    // The run cycle disables Run, meets "401", opens the panel and stops.
    F.BRun.Enabled = F.BSaveAll.Enabled = F.BSaveHilited.Enabled = false;
    BOptions_Click(F);
    BCancelOptions_Click(F);
    EXPECT_TRUE(F.BRun.Visible && F.BRun.Enabled);
    EXPECT_FALSE(F.BSaveAll.Enabled);
}

// A long loop (a merge, the lookups) is not a refresh, but applying options would still pull the
// lists from under it.
TEST_F(OptionsPanelTest, IgnoredWhileALongLoopRuns) {
    F.Busy = true;
    BOptions_Click(F);
    EXPECT_FALSE(F.OptionsFrame.Visible);
    F.Busy = false;
    BOptions_Click(F);
    EXPECT_TRUE(F.OptionsFrame.Visible);
}

// Cancel reads the settings again; the monitor must follow the box it puts back.
TEST(OptionsPanelCancel, KeepsTheWanMonitorInStepWithItsBox) {
    {
        OptionsTestForm T;
        MainForm& F = T.F();
        BOptions_Click(F);
        F.CompAddr.Value = true;
        CompAddr_Click(F);
        ASSERT_TRUE(F.router.Timer1->isActive());
        BCancelOptions_Click(F);
        EXPECT_FALSE(F.CompAddr.Value);
        EXPECT_FALSE(F.router.Timer1->isActive()) << "no monitoring behind an unticked box";
    }
    {
        OptionsTestForm T("COMPADDR=1\r\n");
        MainForm& F = T.F();
        CompAddr_Click(F);  // as start-up starts a saved monitor
        BOptions_Click(F);
        F.CompAddr.Value = false;
        CompAddr_Click(F);
        ASSERT_FALSE(F.router.Timer1->isActive());
        BCancelOptions_Click(F);
        EXPECT_TRUE(F.CompAddr.Value);
        EXPECT_TRUE(F.router.Timer1->isActive()) << "the ticked box monitors again";
    }
}

}  // namespace
