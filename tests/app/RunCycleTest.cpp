#include <gtest/gtest.h>

#include <QFile>
#include <QTimer>

#include "IsolatedUserConfig.h"
#include "RouterSysLogForm.h"
#include "TestForm.h"
#include "app/OptionsCommands.h"
#include "app/RunCycle.h"
#include "app/Startup.h"
#include "form/EventDispatch.h"
#include "router/RouterPages.h"
#include "router/WanMonitor.h"
#include "ui/OptionsFields.h"
#include "ui/OptionsPanel.h"

namespace {

struct RunCycle : ::testing::Test {
    TestForm t;
    MainForm& F = t.F();
    std::string ini() const { return t.dir.file("Drovix.ini"); }

    void SetUp() override {
        IsolatedConfigHome();  // the per-user store stays out of the real one
        PrepareMainForm(F, t.dir.path());
    }
    // The state the exit sequence compares against, as start-up leaves it.
    void SettleSnapshots() {
        F.SysLog.SetCols(12);
        for (int c = 0; c < 12; ++c) F.ColumnWidthSnapshot[c] = F.SysLog.ColWidth(c);
        F.WindowSnapshot = F.Window;
        F.SettingsChanged = false;
    }
};

TEST_F(RunCycle, SwitchesAreFoundAnywhereInAnyCase) {
    EXPECT_TRUE(WantsAutoMode("/AUTO"));
    EXPECT_TRUE(WantsAutoMode("x -Autorun"));
    EXPECT_TRUE(WantsAutoMode("/automatic"));
    EXPECT_FALSE(WantsAutoMode("auto /trace"));
}

TEST_F(RunCycle, UnattendedStartWithoutPasswordOpensHiddenPanelAndExits) {
    Form_Load(F, "/Auto");
    EXPECT_FALSE(t.frontend.windowShown);
    EXPECT_TRUE(t.frontend.messages.empty());
    EXPECT_TRUE(F.UnloadRequested);
    // The System Log column widths differ from the never-written slots, so the settings are saved.
    EXPECT_TRUE(FileExists(ini()));
    EXPECT_NE(F.Title.find("  ver. "), std::string::npos);
}

// Exit while a long loop runs only asks the loop to stop; otherwise the settings are rewritten
// only when something changed, and a rewrite that fails is said.
TEST_F(RunCycle, ExitRewritesSettingsOnlyWhenSomethingChangedAndSaysSoWhenItCannot) {
    SettleSnapshots();
    F.InLog.SetRows(5);
    F.Busy = true;
    BQuit_Click(F);
    EXPECT_TRUE(F.QuitRequested);
    EXPECT_FALSE(F.UnloadRequested);
    EXPECT_EQ(F.InLog.Rows(), 5);
    F.Busy = F.QuitRequested = false;

    BQuit_Click(F);
    EXPECT_FALSE(FileExists(ini())) << "nothing changed, nothing written";
    EXPECT_TRUE(F.UnloadRequested);

    F.UnloadRequested = false;
    SettleSnapshots();
    F.SysLog.SetColWidth(3, F.SysLog.ColWidth(3) + 150);
    BQuit_Click(F);
    EXPECT_TRUE(FileExists(ini())) << "a System Log column was widened";

    QFile::remove(QString::fromStdString(ini()));
    SettleSnapshots();
    F.Window.Left += 300;
    BQuit_Click(F);
    EXPECT_TRUE(FileExists(ini())) << "the window was moved";

    QFile::remove(QString::fromStdString(ini()));
    SettleSnapshots();
    F.ColumnWidthSnapshot[5].reset();
    BQuit_Click(F);
    EXPECT_TRUE(FileExists(ini())) << "an empty slot differs from any width";

    F.UnloadRequested = false;
    SettleSnapshots();
    F.SettingsChanged = true;
    F.ProgramDir = t.dir.path() + "missing-folder/";  // nowhere to write
    F.AutoMode = true;
    BQuit_Click(F);
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_NE(t.frontend.messages[0].text.find("could not save its settings"), std::string::npos);
    EXPECT_FALSE(F.AutoMode);
    EXPECT_TRUE(F.UnloadRequested);
}

TEST_F(RunCycle, ExitInsideAWaitIsCarriedOutWhenTheRefreshReturns) {
    SettleSnapshots();
    int unloads = 0;
    bool refreshStillRunning = false;
    bool exitClicked = false;
    // The person presses Exit while the refresh lets events run.
    t.frontend.onDoEvents = [&] {
        if (exitClicked || !refreshStillRunning) return;
        exitClicked = true;
        DispatchEvent(
            F, [&] { BQuit_Click(F); }, [&] { ++unloads; });
        EXPECT_EQ(unloads, 0) << "the window must not go while the refresh is on the stack";
    };
    DispatchEvent(
        F,
        [&] {
            refreshStillRunning = true;
            BRun_Click(F);
            EXPECT_EQ(unloads, 0);
            refreshStillRunning = false;
        },
        [&] { ++unloads; });
    EXPECT_TRUE(exitClicked);
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(F.Unloaded);
    // Nothing runs on a window that has gone.
    bool ran = false;
    DispatchEvent(F, [&] { ran = true; }, {});
    EXPECT_FALSE(ran);
}

TEST_F(RunCycle, SavedWanMonitorStartsOnceThePageAddressesExist) {
    WriteFileBytes(ini(), "ADDRESS=127.0.0.1:1\r\nCOMPADDR=1\r\nRWAIT=1\r\nRRETRY=1\r\n");
    Initialize(F);
    ASSERT_TRUE(F.router.Timer1);
    EXPECT_TRUE(F.router.Timer1->isActive());
    EXPECT_FALSE(F.router.StatusURL.empty());
    EXPECT_FALSE(F.SettingsChanged) << "starting the monitor changes no setting";
    F.CompAddr.Value = false;
    CompAddr_Click(F);
    EXPECT_FALSE(F.router.Timer1->isActive());
}

// Every message box carries the window's title, except those that report errors.
TEST_F(RunCycle, ARefusedPasswordIsTitledLikeEveryOtherMessage) {
    F.Title = "Drovix  ver. 1.2.3";
    F.IPAddr.Text = "10.0.0.1";
    CreateURLs(F);
    F.router.Pages = [](const std::string&) { return std::string("<h1>401 Authorization Required</h1>"); };
    BRun_Click(F);
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(
        t.frontend.messages[0].text,
        "Can't contact the Router: Missing or invalid Password (the Router at 10.0.0.1 refused the logon "
        "ID \"" +
            F.UserID.Text + "\" with this password)");
    EXPECT_EQ(t.frontend.messages[0].title, "Drovix  ver. 1.2.3");
    EXPECT_TRUE(F.OptionsFrame.Visible) << "the refresh has ended: the panel opens for the password";
}

// A standard refresh lets events run while it waits for pages; Options pressed then would rebuild
// and refresh the lists the refresh is filling.
TEST_F(RunCycle, OptionsWaitForTheRefreshAndTheirWriteFailuresAreReportedAtOnce) {
    SettleSnapshots();
    F.IPAddr.Text = "10.0.0.1";
    CreateURLs(F);
    bool panelOpenedDuringRefresh = false;
    F.router.Pages = [&](const std::string&) {
        if (!F.OptionsFrame.Visible) BOptions_Click(F);
        panelOpenedDuringRefresh = panelOpenedDuringRefresh || F.OptionsFrame.Visible;
        return std::string();
    };
    BRun_Click(F);
    EXPECT_FALSE(panelOpenedDuringRefresh);
    EXPECT_TRUE(F.BRun.Enabled);

    F.router.Pages = [](const std::string&) { return std::string(); };
    t.frontend.messages.clear();
    BOptions_Click(F);
    ASSERT_TRUE(F.OptionsFrame.Visible);
    F.RouterRetry.Text = "3";
    RouterRetry_Change(F);
    F.ProgramDir = t.dir.path() + "missing-folder/";  // nowhere to write
    BOptions_Click(F);
    bool reported = false;
    for (const auto& m : t.frontend.messages)
        reported = reported || m.text.find("could not save") != std::string::npos;
    EXPECT_TRUE(reported);
    EXPECT_TRUE(F.SettingsChanged) << "Exit must try again";
}

// While the refresh waits for the router the Exit button is a Cancel button: the refresh stops,
// the window stays, and the stop is not reported as a router that cannot be reached.
TEST_F(RunCycle, ExitWhileContactingTheRouterCancelsTheRefreshQuietly) {
    SettleSnapshots();
    F.IPAddr.Text = "10.0.0.1";
    CreateURLs(F);
    const std::string exitCaption = F.BQuit.Caption;
    std::vector<std::string> captions;
    F.router.Pages = [&](const std::string&) {
        captions.push_back(F.BQuit.Caption);
        BQuit_Click(F);
        return std::string();
    };
    BRun_Click(F);
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions[0], "Cancel");
    EXPECT_EQ(captions.size(), 1u) << "nothing more is fetched after Cancel";
    EXPECT_TRUE(t.frontend.messages.empty());
    EXPECT_FALSE(F.UnloadRequested);
    EXPECT_EQ(F.BQuit.Caption, exitCaption);
    EXPECT_FALSE(F.Busy);

    // Without a Cancel, a router that gives nothing is still reported.
    F.SysLogMode = false;
    F.StdOnly = true;
    F.router.Pages = [](const std::string&) { return std::string(); };
    BRun_Click(F);
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text, "Can't contact the Router at " + F.IPAddr.Text);
}

// A router whose records are all in its System Log, read with "Use Router's System Log" off: the
// person is told so and may have it read at once, instead of only "Logs are empty or unavailable".
TEST(RunCycleSystemLogOffer, AnEmptyTableWithASystemLogOffersToReadIt) {
    IsolatedConfigHome();
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        RouterSim sim({},
                      SysLogRecords("2026-12-06 13:05:12 TCP from 198.51.100.23:4123 to 127.0.0.100:80\n"));
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterSysLogForm t(sim);
        MainForm& F = t.F();
        F.CSysLog.Value = false;
        t.frontend.answers = {answer};
        BRun_Click(F);
        ASSERT_EQ(t.frontend.messages.size(), 1u);
        EXPECT_EQ(t.frontend.messages[0].buttons, MsgButtons::YesNo);
        EXPECT_NE(
            t.frontend.messages[0].text.find("it keeps a System Log, and \"Use Router's System Log\" is off"),
            std::string::npos);
        const bool read = answer == MsgAnswer::Yes;
        EXPECT_EQ(F.CSysLog.Value, read);
        EXPECT_EQ(F.LNoLogs.Visible, !read);
        EXPECT_EQ(F.SysLog.Visible, read);
        EXPECT_EQ(F.SysLog.HasRecords(), read);
        EXPECT_EQ(ReadFileBytes(t.dir.file("Drovix.ini")).find("\r\nSYSLOG=1\r\n") != std::string::npos,
                  read);
        EXPECT_EQ(F.BSaveHilited.Caption, read ? "Update SB logs" : "Save highlighted");
    }
}

// A router that refuses the logon with status 401 and no page at all refused the password: it is
// not told as one that cannot be reached.
TEST(RunCycleRefusal, ARefusalWithoutAPageIsARefusedPassword) {
    IsolatedConfigHome();
    RouterSim sim({"--bare-401"}, SysLogRecords(""));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterSysLogForm t(sim);
    t.F().PW.Text = "wrong";
    BRun_Click(t.F());
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text.rfind(
                  "Can't contact the Router: Missing or invalid Password (the Router at " + sim.Address() +
                      " refused",
                  0),
              0u)
        << t.frontend.messages[0].text;
    EXPECT_TRUE(t.F().OptionsFrame.Visible);
}

}  // namespace
