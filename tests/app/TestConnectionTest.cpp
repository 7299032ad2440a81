#include <gtest/gtest.h>

#include <QTcpServer>

#include "RouterSim.h"
#include "RouterSysLogForm.h"
#include "app/TestConnection.h"

namespace {

// "Test connection" tells in words what the router as typed is: its layout and whether it keeps a
// System Log, a refused password, or why it cannot be reached; the addresses and layout the
// refreshes use stay as they were.
TEST(TestConnection, TellsTheLayoutTheSystemLogARefusedPasswordOrWhyNothingAnswered) {
    const struct {
        std::vector<std::string> options;
        const char* password;
        bool sysLogBox;
        const char* finding;  // after "The Router at ADDRESS"
    } cases[] = {
        {{},
         "admin",
         false,
         " answered, and the logon was accepted. Its pages have the standard layout (Incoming and Outgoing "
         "tables, "
         "System Log on SysLogTable.htm). It keeps a System Log; check \"Use Router's System Log\" to read "
         "it."},
        {{"--layout", "wag54g", "--no-syslog"},
         "admin",
         true,
         " answered, and the logon was accepted. Its pages have the newer layout (status on "
         "RouterStatus.htm, System "
         "Log on SysLog.htm). It has no System Log: Drovix reads its Incoming and Outgoing tables."},
        {{}, "wrong", true, " refused the logon ID \"admin\" with this password."},
    };
    for (const auto& c : cases) {
        RouterSim sim(c.options);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterSysLogForm t(sim);
        MainForm& F = t.F();
        const std::string before = F.router.SysLogPageURL;
        F.PW.Text = c.password;
        F.CSysLog.Value = c.sysLogBox;
        BTestConnection_Click(F);
        ASSERT_EQ(t.frontend.messages.size(), 1u);
        const std::string& text = t.frontend.messages[0].text;
        EXPECT_NE(text.find("he Router at " + sim.Address() + c.finding), std::string::npos) << text;
        EXPECT_EQ(t.frontend.messages[0].title, "Test connection");
        EXPECT_EQ(F.router.SysLogPageURL, before);
        EXPECT_FALSE(F.router.NewFamily);
    }

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const std::string address = "127.0.0.1:" + std::to_string(closed.serverPort());
    closed.close();
    RouterSim unused;
    RouterSysLogForm t(unused);
    t.F().IPAddr.Text = address;
    EXPECT_EQ(TestConnectionFinding(t.F()),
              "Can't contact the Router at " + address + ": connection refused.");
}

}  // namespace
