#include <gtest/gtest.h>

#include <QProcess>
#include <csignal>

#include "RouterTestForm.h"
#include "router/PageFetcher.h"
#include "support/RouterSim.h"

namespace {

struct SimRun {
    int exitCode;
    std::string out, err;
};

SimRun RunSim(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(DROVIX_ROUTERSIM_PATH), args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, "did not end"};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

std::string Contains(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos ? what : "'" + what + "' missing from: " + text;
}

const std::string kFiveLines = "[syslog]\nline one\nline two\nline three\nline four\nline five\n";

}  // namespace

TEST(RouterSimTool, CommandLineFaultsAreReportedWithNonZeroExit) {
    const SimRun help = RunSim({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(Contains(help.out, "[syslog]"), "[syslog]");

    const SimRun bad = RunSim({"--bogus"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(Contains(bad.err, "unknown option '--bogus'"), "unknown option '--bogus'");
    EXPECT_EQ(RunSim({"--layout", "round"}).exitCode, 2);
    EXPECT_EQ(RunSim({"--port", "70000"}).exitCode, 2);
    EXPECT_EQ(RunSim({"--delay"}).exitCode, 2);

    TempFolder dir;
    const SimRun missing = RunSim({"--records", QString::fromStdString(dir.file("none.txt"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(Contains(missing.err, "cannot read records file"), "cannot read records file");

    WriteFileBytes(dir.file("bad.txt"), "[wan]\n203.0.113.7\n[routes]\nx\n");
    const SimRun badFile = RunSim({"--records", QString::fromStdString(dir.file("bad.txt"))});
    EXPECT_EQ(badFile.exitCode, 1);
    EXPECT_EQ(Contains(badFile.err, "line 3: unknown section [routes]"), "line 3: unknown section [routes]");

    RouterSim running;
    ASSERT_TRUE(running.Started()) << running.Error();
    const SimRun busy = RunSim({"--port", QString::number(running.Port())});
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_EQ(Contains(busy.err, "cannot listen on 127.0.0.1:"), "cannot listen on 127.0.0.1:");
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

TEST(RouterSimTool, SystemLogIsServedPageByPageInEachLayout) {
    RouterTestForm t;
    MainForm& F = t.F();
    {
        RouterSim sim({"--page-lines", "2"}, kFiveLines);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        const std::string first = GetHtml(F, sim.Url("/Group.cgi?Log_Page_Num=0&LogClear=0"));
        EXPECT_NE(first.find("color=#000000>line one\n<br><font face=verdana size=1.5 color=#000000>line "
                             "two\n<br></font>"),
                  std::string::npos);
        const std::string third = GetHtml(F, sim.Url("/Group.cgi?Log_Page_Num=2&LogClear=0"));
        EXPECT_NE(third.find(">line five\n<br></font>"), std::string::npos);
        // Past the last page: a page without a single line feed.
        const std::string fourth = GetHtml(F, sim.Url("/Group.cgi?Log_Page_Num=3&LogClear=0"));
        EXPECT_NE(fourth.find("System Log"), std::string::npos);
        EXPECT_EQ(fourth.find('\n'), std::string::npos);
    }
    {
        RouterSim sim({"--layout", "wag54g", "--page-lines", "2"}, kFiveLines);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        const std::string select =
            "/Gozila.cgi?SysLog.htm=1&hid_returnPoint=hid_sysLogPageNum&hid_sysLogPageNum=1&hid_sysLogClear=0"
            "&sel_sysLogType=0";
        EXPECT_FALSE(GetHtml(F, sim.Url(select)).empty());
        for (int again = 0; again < 2; ++again) {
            const std::string page = GetHtml(F, sim.Url("/SysLog.htm"));
            EXPECT_NE(page.find(">line three\n<br>"), std::string::npos);
            EXPECT_EQ(page.find("line one"), std::string::npos);
        }
    }
    {
        RouterSim sim({"--layout", "plain", "--page-lines", "2"}, kFiveLines);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        const std::string page = GetHtml(F, sim.Url("/VPNLog.htm"));
        EXPECT_NE(page.find("location.replace('VPNLog.htm')\"><br>line one\n<br>line two\n"),
                  std::string::npos);
        EXPECT_NE(page.find("<br>line five\n<br></font>"), std::string::npos);
    }
}

TEST(RouterSimTool, TablesAndStatusComeFromTheRecordsFileReadAtEachRequest) {
    RouterSim sim(
        {},
        "[incoming]\n198.51.100.7|80\n198.51.100.8\n[outgoing]\n192.168.1.100| a.example |snmp trap\n"
        "[clock]\n2026-12-06 14:30:00\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterTestForm t;
    MainForm& F = t.F();
    const std::string in = GetHtml(F, sim.Url("/inLogTable.htm"));
    EXPECT_NE(in.find("<tr bgcolor=cccccc align=middle><td>198.51.100.7</td><td>80</td></tr>\n"
                      "<tr bgcolor=cccccc align=middle><td>198.51.100.8</td></tr>\n</table>"),
              std::string::npos);
    EXPECT_NE(GetHtml(F, sim.Url("/outLogTable.htm"))
                  .find("<td>192.168.1.100</td><td> a.example </td><td>snmp trap</td>"),
              std::string::npos);
    const std::string status = GetHtml(F, sim.Url("/Status.htm"));
    EXPECT_NE(status.find("Current Time:</font></td><td><font face=verdana size=2><b>Dec 06 2026 14:30:00<"),
              std::string::npos);

    sim.SetRecords("[incoming]\n203.0.113.5|21\n");
    EXPECT_NE(GetHtml(F, sim.Url("/inLogTable.htm")).find("<td>203.0.113.5</td><td>21</td>"),
              std::string::npos);
    // A file broken in the meantime: the logs read before stay.
    sim.SetRecords("[nonsense]\n");
    EXPECT_NE(GetHtml(F, sim.Url("/inLogTable.htm")).find("<td>203.0.113.5</td><td>21</td>"),
              std::string::npos);
}
