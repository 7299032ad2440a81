#include <gtest/gtest.h>

#include <QProcess>
#include <csignal>

#include "RouterTestForm.h"
#include "router/PageSource.h"
#include "support/RouterSim.h"

// The simulator's pages are checked through the client by the refresh tests; what is left here is
// its own command line, its signals and a records file broken while it runs.
TEST(RouterSimTool, CommandLineFaultsAreReportedWithNonZeroExit) {
    TempFolder dir;
    WriteFileBytes(dir.file("bad.txt"), "[wan]\n203.0.113.7\n[routes]\nx\n");
    RouterSim running;
    ASSERT_TRUE(running.Started()) << running.Error();
    struct Case {
        QStringList args;
        int exitCode;
        std::string said;  // on standard output for --help, on standard error otherwise
    };
    const std::vector<Case> cases = {
        {{"--help"}, 0, "[syslog]"},
        {{"--bogus"}, 2, "unknown option '--bogus'"},
        {{"--layout", "round"}, 2, "bad value for --layout"},
        {{"--port", "70000"}, 2, "bad value for --port"},
        {{"--delay"}, 2, "option --delay needs a value"},
        {{"--syslog-to", "192.0.2.1:514"}, 2, "bad value for --syslog-to"},
        {{"--records", QString::fromStdString(dir.file("none.txt"))}, 1, "cannot read records file"},
        {{"--records", QString::fromStdString(dir.file("bad.txt"))}, 1, "line 3: unknown section [routes]"},
        {{"--port", QString::number(running.Port())}, 1, "cannot listen on 127.0.0.1:"},
    };
    for (const Case& c : cases) {
        QProcess p;
        p.start(QStringLiteral(DROVIX_ROUTERSIM_PATH), c.args);
        ASSERT_TRUE(p.waitForFinished(5000)) << c.args.join(' ').toStdString();
        EXPECT_EQ(p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, c.exitCode) << c.said;
        const std::string said =
            (c.exitCode == 0 ? p.readAllStandardOutput() : p.readAllStandardError()).toStdString();
        EXPECT_NE(said.find(c.said), std::string::npos) << c.said << " missing from: " << said;
    }
}

TEST(RouterSimTool, EndsCleanlyOnInterruptAndTerminate) {
    for (int signal : {SIGINT, SIGTERM}) {
        QProcess p;
        p.start(QStringLiteral(DROVIX_ROUTERSIM_PATH), {"--port", "0"});
        ASSERT_TRUE(p.waitForReadyRead(5000));
        EXPECT_EQ(p.readLine().left(20).toStdString(), "listening 127.0.0.1:");
        ::kill(static_cast<pid_t>(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
    }
}

// The records file is read at every request; one broken in the meantime leaves the last good one.
TEST(RouterSimTool, ARecordsFileBrokenWhileRunningKeepsTheLastGoodRecords) {
    RouterSim sim({}, "[incoming]\n203.0.113.5|21\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    sim.SetRecords("[nonsense]\n");
    EXPECT_NE(FetchPage(t.F(), sim.Url("/inLogTable.htm")).find("<td>203.0.113.5</td><td>21</td>"),
              std::string::npos);
}

// A router whose small log buffer wrapped: the pages keep only the newest lines.
TEST(RouterSimTool, ARingKeepsOnlyTheNewestLinesOnThePages) {
    RouterSim sim({"--ring", "2"},
                  "[syslog]\n2026-12-06 10:00:00 alpha\n2026-12-06 10:00:01 bravo\n"
                  "2026-12-06 10:00:02 charlie\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    const std::string page = FetchPage(t.F(), sim.Url("/Group.cgi?Log_Page_Num=0&LogClear=0"));
    EXPECT_EQ(page.find("alpha"), std::string::npos) << page;
    EXPECT_NE(page.find("bravo"), std::string::npos) << page;
    EXPECT_NE(page.find("charlie"), std::string::npos) << page;
}
