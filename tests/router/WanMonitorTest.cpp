#include <gtest/gtest.h>

#include <QLocale>
#include <QTimer>

#include "RouterTestForm.h"
#include "app/RunCycle.h"
#include "form/OsServices.h"
#include "router/RouterPages.h"
#include "router/WanMonitor.h"
#include "support/RouterSim.h"

namespace {

std::string Wan(const std::string& address) {
    return "[wan]\n" + address + "\n";
}

// A form pointed at the simulator, its layout probed, the label in its design state.
void Connect(MainForm& F, const RouterSim& sim) {
    F.IPAddr.Text = sim.Address();
    CreateURLs(F);
    CheckWAG54G(F);
    F.CurrWanAddr.Caption = "000.000.000.000";
    F.CurrWanAddr.Visible = false;
    F.LIPA.Visible = false;
}

}  // namespace

TEST(WanMonitor, ReadsTheAddressFromEachLayoutsStatusPage) {
    for (const std::string layout : {"firewall", "wag54g", "plain"}) {
        RouterSim sim({"--layout", layout, "--verbose"}, Wan("203.0.113.7"));
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterTestForm t;
        MainForm& F = t.F();
        Connect(F, sim);
        EXPECT_EQ(GetWan(F), "203.0.113.7") << layout;
        sim.SetRecords(Wan("198.51.100.250"));
        EXPECT_EQ(GetWan(F), "198.51.100.250") << layout;
        // Longer than an address can be: not taken.
        sim.SetRecords(Wan("198.51.100.250 x"));
        EXPECT_EQ(GetWan(F), "") << layout;
        // The other family's reader, or a page without the markers: nothing either.
        sim.SetRecords(Wan("198.51.100.250"));
        F.router.NewFamily = !F.router.NewFamily;
        EXPECT_EQ(GetWan(F), "") << layout;
        F.router.NewFamily = !F.router.NewFamily;
        const std::string statusURL = F.router.StatusURL;
        F.router.StatusURL = sim.Url("/inLogTable.htm");
        EXPECT_EQ(GetWan(F), "") << layout;
        F.router.StatusURL = statusURL;
        // No password: not even asked.
        const int before = Count(sim.Output(), "Status.htm");
        F.PW.Text.clear();
        EXPECT_EQ(GetWan(F), "") << layout;
        EXPECT_EQ(Count(sim.Output(), "Status.htm"), before) << layout;
    }
}

// Two changes within one minute must be told apart: the time carries its seconds.
TEST(WanMonitor, LogLineHasTheShortDateTheTimeWithSecondsAndTheAddressInTheNextPrintZone) {
    const QDateTime now(QDate(2026, 12, 6), QTime(14, 30, 5));
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(WanLogLine(now, "203.0.113.7", us),
              "12/6/26 2:30:05 PM" + std::string(10, ' ') + "203.0.113.7");
    EXPECT_EQ(WanLogLine(now, "", us), "12/6/26 2:30:05 PM" + std::string(10, ' '));
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(WanLogLine(now, "198.51.100.250", german),
              "06.12.26 14:30:05" + std::string(11, ' ') + "198.51.100.250");
}

TEST(WanMonitor, ChecksLogEachChangeOnceAndAppend) {
    RouterSim sim({}, Wan("203.0.113.7"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    MainForm& F = t.F();
    Connect(F, sim);
    const std::string logPath = F.ProgramDir + "IPAddressLog.txt";
    WriteFileBytes(logPath, "earlier line\r\n");
    const QDateTime now = F.clock.Now();

    // A refresh is fetching: the check waits for the next tick.
    F.router.ActiveFetches = 1;
    Timer1_Timer(F);
    F.router.ActiveFetches = 0;
    EXPECT_EQ(F.CurrWanAddr.Caption, "000.000.000.000");

    Timer1_Timer(F);  // the design text differs from any address: logged
    Timer1_Timer(F);  // same address: not logged again
    EXPECT_EQ(F.CurrWanAddr.Caption, "203.0.113.7");
    EXPECT_TRUE(F.CurrWanAddr.Visible);
    EXPECT_TRUE(F.LIPA.Visible);

    sim.SetRecords(Wan("198.51.100.9"));
    Timer1_Timer(F);
    F.PW.Text.clear();  // no address can be read: logged once as an empty address
    Timer1_Timer(F);
    Timer1_Timer(F);
    EXPECT_EQ(F.CurrWanAddr.Caption, "");
    F.PW.Text = "admin";
    Timer1_Timer(F);

    EXPECT_EQ(ReadFileBytes(logPath), "earlier line\r\n" + WanLogLine(now, "203.0.113.7") + "\r\n" +
                                          WanLogLine(now, "198.51.100.9") + "\r\n" + WanLogLine(now, "") +
                                          "\r\n" + WanLogLine(now, "198.51.100.9") + "\r\n");
}

// The option starts and stops the five-second checks; a start that the person withdraws while the
// status page is on its way, or whose log cannot be written, leaves them stopped.
TEST(WanMonitor, OptionStartsAndStopsTheChecksAndAWithdrawnOrUnloggedStartLeavesThemStopped) {
    RouterSim sim({}, Wan("203.0.113.7"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    MainForm& F = t.F();
    Connect(F, sim);
    const std::string logPath = F.ProgramDir + "IPAddressLog.txt";

    F.CompAddr.Value = true;
    CompAddr_Click(F);
    EXPECT_TRUE(F.SettingsChanged);
    ASSERT_TRUE(F.router.Timer1);
    EXPECT_TRUE(F.router.Timer1->isActive());
    EXPECT_EQ(F.router.Timer1->interval(), 5000);
    EXPECT_EQ(F.CurrWanAddr.Caption, "203.0.113.7");  // checked at once

    // The timer drives the checks (shortened here so the test stays quick).
    F.router.Timer1->setInterval(50);
    sim.SetRecords(Wan("198.51.100.9"));
    for (int i = 0; i < 100 && F.CurrWanAddr.Caption != "198.51.100.9"; ++i) WaitMs(20);
    EXPECT_EQ(F.CurrWanAddr.Caption, "198.51.100.9");

    F.CompAddr.Value = false;
    CompAddr_Click(F);
    EXPECT_FALSE(F.router.Timer1->isActive());
    sim.SetRecords(Wan("203.0.113.99"));
    WaitMs(200);
    EXPECT_EQ(F.CurrWanAddr.Caption, "198.51.100.9");
    EXPECT_EQ(Count(ReadFileBytes(logPath), "\r\n"), 2);

    RouterTestForm withdrawn;
    Connect(withdrawn.F(), sim);
    withdrawn.F().CompAddr.Value = true;
    withdrawn.frontend.onDoEvents = [&G = withdrawn.F()] {
        G.CompAddr.Value = false;
        CompAddr_Click(G);
    };
    CompAddr_Click(withdrawn.F());
    EXPECT_FALSE(withdrawn.F().router.Timer1->isActive());

    RouterTestForm unlogged;
    Connect(unlogged.F(), sim);
    unlogged.F().ProgramDir = unlogged.dir.path() + "missing/";
    unlogged.F().CompAddr.Value = true;
    CompAddr_Click(unlogged.F());
    EXPECT_FALSE(unlogged.F().router.Timer1->isActive());
    EXPECT_EQ(unlogged.F().CurrWanAddr.Caption, "000.000.000.000");
}

// Exit cuts a check short: the empty page it leaves is no change of address, and no later tick
// may check again while the window goes.
TEST(WanMonitor, ExitDuringACheckLogsNothingAndStopsTheChecks) {
    RouterSim sim({"--delay", "300"}, Wan("198.51.100.9"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    MainForm& F = t.F();
    Connect(F, sim);
    F.CurrWanAddr.Caption = "203.0.113.7";
    const std::string logPath = F.ProgramDir + "IPAddressLog.txt";
    F.CompAddr.Value = true;
    QTimer::singleShot(100, [&F] { BQuit_Click(F); });
    CompAddr_Click(F);
    EXPECT_FALSE(FileExists(logPath)) << ReadFileBytes(logPath);
    EXPECT_EQ(F.CurrWanAddr.Caption, "203.0.113.7");
    EXPECT_FALSE(F.router.Timer1->isActive());

    RouterTestForm idle;
    Connect(idle.F(), sim);
    idle.F().PW.Text.clear();  // checks without a fetch
    idle.F().CompAddr.Value = true;
    CompAddr_Click(idle.F());
    ASSERT_TRUE(idle.F().router.Timer1->isActive());
    BQuit_Click(idle.F());
    EXPECT_FALSE(idle.F().router.Timer1->isActive());
}
