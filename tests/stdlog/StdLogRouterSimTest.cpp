#include <gtest/gtest.h>

#include "RouterSim.h"
#include "StdLogTestData.h"
#include "TestForm.h"
#include "app/SaveCommands.h"
#include "stdlog/SbLogWriter.h"
#include "stdlog/StdLogParser.h"

namespace {

const char* kRecords =
    "[wan]\n203.0.113.7\n\n"
    "[incoming]\n198.51.100.23|80\n203.0.113.150|1433\n198.51.100.77|21\n\n"
    "[outgoing]\n192.168.1.100|www.example.com|HTTP\n192.168.1.101|mail.example.net|pop3\n";

// Points the form's table addresses at the simulator, with short waits.
void LogOnTo(RouterSim& sim, MainForm& F, const std::string& password) {
    F.router.InLogURL = sim.Url("/inLogTable.htm");
    F.router.OutLogURL = sim.Url("/outLogTable.htm");
    F.UserID.Text = "drovix";
    F.PW.Text = password;
    F.RouterWait.Text = "5";
    F.RouterRetry.Text = "1";
    F.RouterDelay.Text = "1";
}

// A refresh of the standard logs from the simulated router, compared with a Stillbeacon day
// file that lacks one record of each table, then "Save highlighted".
TEST(StdLogRouterSimTest, RefreshComparesAndSavesTheMissingRecords) {
    RouterSim sim({"--no-syslog", "--user", "drovix", "--password", "s3cret"}, kRecords);
    ASSERT_TRUE(sim.Started()) << sim.Error();

    TestForm t;
    MainForm& F = t.F();
    LogOnTo(sim, F, "s3cret");
    F.CompSB.Value = true;
    WriteFileBytes(t.dir.file("Log 2026-12-06.txt"),
                   CrLfLines({"2026/12/06 07:00:00.00 O 203.0.113.40 ftp 192.168.1.102 1101",
                              "2026/12/06 08:00:00.00 I 198.51.100.77 3000 192.168.1.100 21",
                              "2026/12/06 10:00:00.00 I 198.51.100.23 4000 192.168.1.100 80",
                              "2026/12/06 11:10:00.00 O www.example.com http 192.168.1.100 1102"}));

    ProcessStdLogs(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;

    EXPECT_EQ(F.InLog.TextMatrix(1, 2), "198.51.100.23");
    EXPECT_EQ(Marks(F.InLog),
              (std::vector<std::string>{"2026/12/06 10:00:00", "unstamped flagged", "2026/12/06 08:00:00"}));
    EXPECT_EQ(F.OutLog.TextMatrix(1, 4), "80 - http");
    EXPECT_EQ(F.OutLog.TextMatrix(2, 4), "110 - pop3");
    EXPECT_EQ(Marks(F.OutLog), (std::vector<std::string>{"2026/12/06 11:10:00", "unstamped flagged"}));
    EXPECT_EQ(F.InCaption.Caption, "Incoming Log  (3 entries,  1 flagged)");
    EXPECT_EQ(F.OutCaption.Caption, "Outgoing log  (2 entries,  1 flagged)");
    EXPECT_TRUE(F.BSaveHilited.Enabled);

    BSaveHilited_Click(F);
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-06 1430.txt")),
              CrLfLines({"2026/12/06 08:01:00.00 I 203.0.113.150 0 0.0.0.0 1433",
                         "2026/12/06 11:08:51.00 O mail.example.net pop3 192.168.1.101 0"}));

    // The router now lists nothing: the notice replaces the lists.
    sim.SetRecords("[incoming]\n\n[outgoing]\n");
    ProcessStdLogs(F);
    EXPECT_TRUE(F.LNoLogs.Visible);
    EXPECT_FALSE(F.InLog.Visible);
}

}  // namespace
