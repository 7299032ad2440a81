#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <map>

#include "DrovixProcess.h"
#include "RouterSim.h"
#include "TestFiles.h"
#include "UnattendedHome.h"

namespace {

// An unattended run against a router with a System Log, with history, comparison and export on:
// it exits 0, keeps the router's lines in the history file of their day and exports the inbound
// records of the last day in UTC. Addresses are documentation addresses and lookups are off, so
// nothing leaves the machine.
TEST(SysLogUnattendedRun, RefreshesKeepsHistoryAndExports) {
    const QDateTime now = QDateTime::currentDateTime();
    auto at = [&](int minutesAgo) {
        return now.addSecs(-60LL * minutesAgo).toString("yyyy-MM-dd hh:mm:ss").toStdString();
    };
    const std::vector<std::string> lines = {
        at(90) + " TCP from 198.51.100.23:4123 to 127.0.0.100:80",
        at(60) + " UDP from 127.0.0.101:1030 to 198.51.100.53:53",
        at(30) + " TCP from 203.0.113.9:2045 to 127.0.0.102:135 dropped by rule 7",
    };
    std::string records = "[wan]\n203.0.113.7\n[syslog]\n";
    for (const auto& l : lines) records += l + "\n";
    RouterSim sim({}, records);
    ASSERT_TRUE(sim.Started()) << sim.Error();

    TempFolder home;
    PrepareUnattendedHome(
        home,
        "USERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nADDRESS=" + sim.Address() +
            "\r\nRWAIT=5\r\nRRETRY=1\r\nSYSLOG=1\r\nSAVESYSLOG=1\r\nCOMPSB=1\r\nMNW=1\r\nINCLUDEALL=1\r\n"
            "SHOWIN=1\r\nSHOWOUT=1\r\nSHOWMSG=1\r\nSHOWWARNING=1\r\nSHOWIGNORED=1\r\n");
    const DrovixRun run = RunDrovix(home, {"/auto"});
    EXPECT_EQ(run.exitCode, 0) << run.stdErr;
    EXPECT_EQ(run.stdErr, "");
    // Each record goes into Stillbeacon's file of its day, the dropped one with its message line.
    std::vector<std::pair<std::string, int>> days;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string name = "Log " + lines[i].substr(0, 10) + ".txt";
        if (days.empty() || days.back().first != name) days.push_back({name, 0});
        days.back().second += i == 2 ? 2 : 1;
    }
    std::string into;
    for (const auto& [name, count] : days)
        into += (into.empty() ? "" : ", ") + name + " (" + std::to_string(count) + ")";
    EXPECT_EQ(run.stdOut,
              "Drovix: system log 3 listed, 3 flagged; merged 4 lines into " + into + "; exported 2 lines\n");

    // The new day files, written by hand: tab form, in time order, the message held back on a line
    // of its own with its blanks as NBSP bytes.
    auto sb = [&](int i, const std::string& rest) {
        std::string stamp = lines[static_cast<size_t>(i)].substr(0, 19);
        stamp[4] = stamp[7] = '/';
        stamp[10] = '\t';
        return stamp + "\t" + rest + "\r\n";
    };
    std::map<std::string, std::string> dayFiles;
    dayFiles[lines[0].substr(0, 10)] += sb(0, "I\ttcp\t198.51.100.23\t\t4123\t127.0.0.100\t80");
    dayFiles[lines[1].substr(0, 10)] += sb(1, "O\tudp\t198.51.100.53\t\t53\t127.0.0.101\t1030");
    dayFiles[lines[2].substr(0, 10)] +=
        sb(2, "I\ttcp\t203.0.113.9\t\t2045\t127.0.0.102\t135") + sb(2,
                                                                    "M\t\t\tdropped\xA0"
                                                                    "by\xA0"
                                                                    "rule\xA0"
                                                                    "7\t\t\t");
    for (const auto& [date, bytes] : dayFiles)
        EXPECT_EQ(ReadFileBytes(home.file("sb/Log " + date + ".txt")), bytes);

    // Lines may span midnight: each is in the file of its own day.
    std::string history;
    for (const QString& name :
         QDir(QString::fromStdString(home.file("sb"))).entryList({"DXLog *.txt"}, QDir::Files))
        history += ReadFileBytes(home.file("sb/" + name.toStdString()));
    EXPECT_EQ(history, lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n");

    auto utc = [&](int minutesAgo) {
        return now.addSecs(-60LL * minutesAgo).toUTC().toString("yyyy/MM/dd hh:mm:ss").toStdString();
    };
    EXPECT_EQ(ReadFileBytes(home.file("SBmNW.log")),
              utc(90) + " I 198.51.100.23 4123 127.0.0.100 80 tcp\r\n" + utc(30) +
                  " I 203.0.113.9 2045 127.0.0.102 135 tcp\r\n");
    EXPECT_NE(ReadFileBytes(home.file("Drovix.ini"))
                  .find("\r\nLASTMNW=" + now.date().toString("yyyy-MM-dd").toStdString()),
              std::string::npos);
}

const std::string kSettings =
    "USERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nRWAIT=5\r\nRRETRY=1\r\nSYSLOG=1\r\nCOMPSB=1\r\nINCLUDEALL=1\r\n"
    "SHOWIN=1\r\nSHOWOUT=1\r\nSHOWMSG=1\r\nSHOWWARNING=1\r\nSHOWIGNORED=1\r\nMAXTIMEDIFF=2\r\n";

// Events without a remote party (a spoofing notice, a packet to a LAN host) and a message that
// came with a protocol are merged once, in either form of day file: the next run reads them back
// as the same events. Stillbeacon's own spoofing line is not doubled, nor is a record of a day
// whose saved file "Log <day> hhnn.txt", read before the day's own file, holds a later record.
TEST(SysLogUnattendedRun, EventsWithoutARemotePartyAreMergedOnce) {
    const QDate today = QDate::currentDate();
    const std::string blankDay = today.addDays(-2).toString("yyyy-MM-dd").toStdString();
    const std::string tabDay = today.addDays(-1).toString("yyyy-MM-dd").toStdString();
    auto slashed = [](std::string date) { return date.replace(4, 1, "/").replace(7, 1, "/"); };
    std::string records = "[syslog]\n";
    for (const std::string& day : {blankDay, tabDay}) {
        records += day + " 10:05:00 ICMP IP spoofing detected\n" + day + " 10:06:00 TCP to 127.0.0.40\n" +
                   day + " 10:07:00 TCP from host-a to host-b\n" + day +
                   " 10:08:00 TCP from 198.51.100.7:1 to 127.0.0.41:2\n";
    }
    RouterSim sim({}, records);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string sb = PrepareUnattendedHome(
        home, kSettings + "ADDRESS=" + sim.Address() + "\r\n",
        {{"Log " + blankDay + ".txt", slashed(blankDay) + " 10:05:00.31 I \xA0icmp . . .\r\n"},
         {"Log " + blankDay + " 1010.txt",
          slashed(blankDay) + " 10:08:00 I 198.51.100.7\xA0tcp 1 127.0.0.41 2\r\n"},
         {"Log " + tabDay + ".txt", slashed(tabDay) + "\t10:05:00.31\tI\ticmp\t\t\t\t\t\r\n" +
                                        slashed(tabDay) +
                                        "\t10:08:00.50\tI\ttcp\t198.51.100.7\t\t1\t127.0.0.41\t2\r\n"}});

    const DrovixRun first = RunDrovix(home, {"/auto"});
    EXPECT_EQ(first.stdErr, "");
    EXPECT_EQ(first.stdOut, "Drovix: system log 8 listed, 4 flagged; merged 4 lines into Log " + blankDay +
                                ".txt (2), Log " + tabDay + ".txt (2); exported 0 lines\n");
    const auto merged = FilesIn(sb);
    const DrovixRun second = RunDrovix(home, {"/auto"});
    EXPECT_EQ(second.stdOut, "Drovix: system log 8 listed, 0 flagged; merged 0 lines; exported 0 lines\n");
    EXPECT_EQ(FilesIn(sb), merged);
}

// The export after a run that read an undated row between two dated ones, from a router whose
// clock is eight minutes behind: what the router logged after the last export goes out, what it
// logged before does not.
TEST(SysLogUnattendedRun, ExportFollowsTheRouterClockPastUndatedRows) {
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime routerNow = now.addSecs(-8 * 60);
    if (routerNow.addSecs(-30 * 60).date() != routerNow.date()) GTEST_SKIP() << "too close to midnight";
    auto at = [&](int minutesAgo) { return routerNow.addSecs(-60LL * minutesAgo); };
    auto line = [&](int minutesAgo, int n) {
        return at(minutesAgo).toString("yyyy-MM-dd hh:mm:ss").toStdString() + " TCP from 198.51.100." +
               std::to_string(n) + ":" + std::to_string(n) + " to 127.0.0.100:80\n";
    };
    RouterSim sim({}, "[clock]\n-480\n[syslog]\n" + line(12, 1) + line(3, 2) +
                          "00:00:07 TCP from 198.51.100.3:3 to 127.0.0.100:80\n" + line(2, 4));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    // The last export, five minutes ago by this computer's clock: after the first record, before the others.
    PrepareUnattendedHome(home, kSettings + "MNW=1\r\nADDRESS=" + sim.Address() + "\r\nLASTMNW=" +
                                    now.addSecs(-5 * 60).toString("yyyy-MM-dd hh:mm:ss").toStdString() +
                                    "\r\n");
    const DrovixRun run = RunDrovix(home, {"/auto"});
    EXPECT_EQ(run.stdErr, "");
    auto exported = [&](int minutesAgo, int n) {
        const std::string p = std::to_string(n);
        return at(minutesAgo).toUTC().toString("yyyy/MM/dd hh:mm:ss").toStdString() + " I 198.51.100." + p +
               " " + p + " 127.0.0.100 80 tcp\r\n";
    };
    EXPECT_EQ(ReadFileBytes(home.file("SBmNW.log")), exported(3, 2) + exported(2, 4));
}

}  // namespace
