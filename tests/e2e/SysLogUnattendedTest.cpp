#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <map>
#include <set>

#include "DrovixProcess.h"
#include "RouterSim.h"
#include "TestFiles.h"
#include "UnattendedHome.h"

namespace {

std::string DateText(const QDate& date) {
    return date.toString("yyyy-MM-dd").toStdString();
}

// An unattended System Log run against sim that keeps the history files, lists them for the
// timeframe given (INCLUDEALL, INCLUDETODAY, ...) and compares with Stillbeacon's logs.
std::string HistorySettings(const RouterSim& sim, const std::string& timeframe) {
    return "USERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nADDRESS=" + sim.Address() +
           "\r\nRWAIT=5\r\nRRETRY=1\r\nSYSLOG=1\r\nSAVESYSLOG=1\r\nINCLUDEDXHISTORY=1\r\nCOMPSB=1\r\n" +
           timeframe + "=1\r\nSHOWIN=1\r\nSHOWOUT=1\r\nSHOWMSG=1\r\nSHOWWARNING=1\r\nSHOWIGNORED=1\r\n";
}

std::string RouterLog(const std::vector<std::string>& lines, const std::string& failingPage = {}) {
    std::string records = "[syslog]\n";
    for (const std::string& line : lines) records += line + "\n";
    if (!failingPage.empty()) records += "[failing]\n" + failingPage + "\n";
    return records;
}

// The history files in Stillbeacon's folder, by name.
std::map<std::string, std::string> HistoryFilesIn(const std::string& sbDir) {
    std::map<std::string, std::string> history;
    for (const auto& [name, bytes] : FilesIn(sbDir))
        if (name.starts_with("DXLog ")) history[name] = bytes;
    return history;
}

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

// Refresh after refresh each router line is stored once in the history and listed once, whatever
// shape the router gives its lines: an undated line before the first dated one, two lines of one
// second out of text order, a line feed inside a line, pages whose lines end in CR LF, and a log
// that begins anew after a restart with an undated line that is, for one refresh, the last line
// stored. In the end every record is in Stillbeacon's logs.
TEST(SysLogUnattendedRun, HistoryKeepsEachRouterLineOnceWhateverTheLinesShape) {
    const std::string today = DateText(QDate::currentDate());
    const std::string day = DateText(QDate::currentDate().addDays(-1));
    const std::string booting = "00:00:03 @sys Booting";
    const std::string scan = day + " 10:00:00 TCP from 203.0.113.9:4000 to 127.0.0.105:80";
    const std::string ssh = day + " 10:01:00 TCP from 203.0.113.10:4001 to 127.0.0.105:22";
    const std::string note = day + " 10:01:00 @sys note~LF~second part";
    const std::string later = day + " 10:02:00 UDP from 127.0.0.106:1030 to 198.51.100.53:53";
    const std::string restarted = "00:00:02 @sys Restarted";
    const std::string fresh = today + " 00:00:10 TCP from 203.0.113.11:4002 to 127.0.0.105:443";
    // What the router shows at each refresh, and how many records are then listed.
    const std::vector<std::pair<std::vector<std::string>, int>> refreshes = {
        {{booting, scan}, 2},
        {{booting, scan, ssh, note}, 4},
        {{booting, scan, ssh, note, later}, 5},
        {{booting, scan, ssh, note, later}, 5},
        {{restarted}, 6},
        {{restarted, fresh}, 7},
        {{restarted, fresh}, 7},
    };
    for (const bool crlf : {false, true}) {
        const std::string shape = crlf ? "CR LF pages" : "LF pages";
        std::vector<std::string> options = {"--line-feed-marker", "~LF~"};
        if (crlf) options.push_back("--crlf");
        RouterSim sim(options);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        TempFolder home;
        const std::string sbDir = PrepareUnattendedHome(home, HistorySettings(sim, "INCLUDEALL"));
        DrovixRun run;
        for (size_t i = 0; i < refreshes.size(); ++i) {
            sim.SetRecords(RouterLog(refreshes[i].first));
            run = RunDrovix(home, {"/auto"});
            EXPECT_EQ(run.exitCode, 0) << run.stdErr;
            EXPECT_TRUE(run.stdOut.starts_with("Drovix: system log " + std::to_string(refreshes[i].second) +
                                               " listed,"))
                << shape << ", refresh " << i + 1 << ": " << run.stdOut;
        }
        EXPECT_EQ(run.stdOut, "Drovix: system log 7 listed, 0 flagged; merged 0 lines; exported 0 lines\n")
            << shape;
        const std::map<std::string, std::string> history = {
            {"DXLog " + day + ".txt", booting + "\r\n" + scan + "\r\n" + ssh + "\r\n" + day +
                                          " 10:01:00 @sys note second part\r\n" + later + "\r\n"},
            {"DXLog " + today + ".txt", restarted + "\r\n" + fresh + "\r\n"}};
        EXPECT_EQ(HistoryFilesIn(sbDir), history) << shape;
        // No carriage return of the router's line ends found its way into Stillbeacon's lines.
        std::string dayFile = ReadFileBytes(sbDir + "Log " + day + ".txt");
        for (auto at = dayFile.find("\r\n"); at != std::string::npos; at = dayFile.find("\r\n", at))
            dayFile.erase(at, 2);
        EXPECT_EQ(dayFile.find('\r'), std::string::npos) << shape;
    }
}

// With a timeframe of 2 days, a newest history file of an older day still says where the
// router's new lines begin, also when it ends with the same line twice; and a last line that a
// crash left without its line end stays a line of its own.
TEST(SysLogUnattendedRun, TheNewestHistoryFileEndsTheHistoryWhateverTheTimeframe) {
    const std::string first = "2024-06-15 10:00:00 TCP from 203.0.113.9:4000 to 127.0.0.105:80";
    const std::string second = "2024-06-15 10:01:00 TCP from 203.0.113.9:4001 to 127.0.0.105:80";
    const std::string third = "2024-06-15 10:02:00 TCP from 203.0.113.10:4001 to 127.0.0.105:22";
    RouterSim sim({}, RouterLog({first, second, second, third}));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string stored = first + "\r\n" + second + "\r\n" + second;
    const std::string sbDir =
        PrepareUnattendedHome(home, HistorySettings(sim, "INCLUDETODAY"), {{"DXLog 2024-06-15.txt", stored}});
    const DrovixRun run = RunDrovix(home, {"/auto"});
    EXPECT_EQ(run.exitCode, 0) << run.stdErr;
    EXPECT_EQ(run.stdOut,
              "Drovix: system log 1 listed, 1 flagged; merged 1 line into Log 2024-06-15.txt (1); "
              "exported 0 lines\n");
    EXPECT_EQ(
        HistoryFilesIn(sbDir),
        (std::map<std::string, std::string>{{"DXLog 2024-06-15.txt", stored + "\r\n" + third + "\r\n"}}));
}

// A System Log page that fails to load is not the end of the log: the run keeps and saves the
// pages before it, says which page it could not read, ends with status 1 and still prints its
// summary line, marked. The next run reads the rest, and nothing twice. The newer family selects
// each page first: a failed select would show the page before again.
TEST(SysLogUnattendedRun, APageThatFailsToLoadEndsTheRunReadInPart) {
    const std::string day = DateText(QDate::currentDate().addDays(-1));
    std::vector<std::string> lines;
    std::string history;
    for (int i = 1; i <= 5; ++i) {
        lines.push_back(day + " 10:0" + std::to_string(i) + ":00 TCP from 203.0.113." + std::to_string(i) +
                        ":4000 to 127.0.0.105:80");
        history += lines.back() + "\r\n";
    }
    const std::string tail = "; exported 0 lines\n";
    for (const char* layout : {"firewall", "wag54g"}) {
        RouterSim sim({"--layout", layout, "--page-lines", "2"}, RouterLog(lines, "2"));
        ASSERT_TRUE(sim.Started()) << sim.Error();
        TempFolder home;
        const std::string sbDir = PrepareUnattendedHome(home, HistorySettings(sim, "INCLUDEALL"));
        const DrovixRun partial = RunDrovix(home, {"/auto"});
        EXPECT_EQ(partial.exitCode, 1) << layout;
        EXPECT_NE(partial.stdErr.find("Could not read page 2 of the Router's System Log"), std::string::npos)
            << layout << ": " << partial.stdErr;
        EXPECT_EQ(partial.stdOut,
                  "Drovix: system log 2 listed, 2 flagged; read in part (page 2 could not be "
                  "read); merged 2 lines into Log " +
                      day + ".txt (2)" + tail)
            << layout;
        EXPECT_EQ(ReadFileBytes(sbDir + "DXLog " + day + ".txt"),
                  history.substr(0, 2 * (lines[0].size() + 2)))
            << layout;

        sim.SetRecords(RouterLog(lines));
        const DrovixRun rest = RunDrovix(home, {"/auto"});
        EXPECT_EQ(rest.exitCode, 0) << layout << ": " << rest.stdErr;
        EXPECT_EQ(rest.stdOut, "Drovix: system log 5 listed, 3 flagged; merged 3 lines into Log " + day +
                                   ".txt (3)" + tail)
            << layout;
        EXPECT_EQ(ReadFileBytes(sbDir + "DXLog " + day + ".txt"), history) << layout;
    }
    // The first page failing reads nothing: no line, no file.
    RouterSim sim({"--page-lines", "2"}, RouterLog(lines, "1"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string sbDir = PrepareUnattendedHome(home, HistorySettings(sim, "INCLUDEALL"));
    const DrovixRun failed = RunDrovix(home, {"/auto"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.stdOut, "");
    EXPECT_NE(failed.stdErr.find("Could not read page 1 of the Router's System Log"), std::string::npos)
        << failed.stdErr;
    EXPECT_TRUE(FilesIn(sbDir).empty());
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

// Without Stillbeacon's settings, or with a log folder that is not there, the records are listed
// but nothing is compared or merged, and no day file lands anywhere else: the run says where Drovix
// looked and fails. The history, Drovix's own, stays in Drovix's folder when there are no settings.
TEST(SysLogUnattendedRun, WithoutStillbeaconsFolderNothingIsMergedAndTheRunFails) {
    const std::string day = DateText(QDate::currentDate().addDays(-1));
    RouterSim sim({}, RouterLog({day + " 10:00:00 TCP from 203.0.113.9:4000 to 127.0.0.105:80"}));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    for (const bool withSettings : {false, true}) {
        TempFolder home;
        PrepareUnattendedHome(home, HistorySettings(sim, "INCLUDEALL"));
        const std::string settings = "\"" + home.path() + "Stillbeacon.ini\"";
        std::string problem = "Drovix does not know Stillbeacon's log folder: it reads it from LOGDIR in " +
                              settings + ", and there is no such file";
        if (withSettings) {
            WriteFileBytes(home.file("Stillbeacon.ini"), "LOGDIR " + home.path() + "gone\r\n");
            problem = "Stillbeacon's log folder \"" + home.path() + "gone/\" (LOGDIR in " + settings +
                      ") does not exist";
        } else {
            ASSERT_TRUE(QFile::remove(QString::fromStdString(home.file("Stillbeacon.ini"))));
        }
        const DrovixRun run = RunDrovix(home, {"/auto"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.stdOut, "");
        EXPECT_EQ(run.stdErr,
                  problem +
                      ". The records were listed, but not compared with Stillbeacon's logs or merged "
                      "into them" +
                      (withSettings ? ", and the router's lines were not kept in the history files" : "") +
                      ".\n");
        std::set<std::string> names;
        for (const auto& [name, bytes] : FilesIn(home.path())) names.insert(name);
        std::set<std::string> expected = {"Drovix.ini", "DXRouterClock.txt", "DrovixLastRun.txt"};
        expected.insert(withSettings ? "Stillbeacon.ini" : "DXLog " + day + ".txt");
        EXPECT_EQ(names, expected) << (withSettings ? "a folder that is not there" : "no settings");
        EXPECT_EQ(HistoryFilesIn(home.file("sb/")), (std::map<std::string, std::string>{}));
    }
}

// Stillbeacon's day file begins with a byte order mark and holds the first record; the router logs
// a second one twice in one second. The first is found despite the mark, the twins are merged as
// the one line they make, and the next run finds everything and leaves the file as it is.
TEST(SysLogUnattendedRun, TwinRecordsAndAMarkedDayFileAreMergedOnceAndThenLeftAlone) {
    const std::string day = DateText(QDate::currentDate().addDays(-1));
    std::string slashed = day;
    slashed[4] = slashed[7] = '/';
    const std::string twin = day + " 10:06:00 TCP from 198.51.100.8:5 to 127.0.0.41:6";
    RouterSim sim({}, RouterLog({day + " 10:05:00 TCP from 198.51.100.7:1 to 127.0.0.41:2", twin, twin}));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string name = "Log " + day + ".txt";
    const std::string sb = PrepareUnattendedHome(
        home, kSettings + "ADDRESS=" + sim.Address() + "\r\n",
        {{name, "\xEF\xBB\xBF" + slashed + " 10:05:00.31 I 198.51.100.7\xA0tcp 1 127.0.0.41 2\r\n"}});

    const DrovixRun first = RunDrovix(home, {"/auto"});
    EXPECT_EQ(first.stdOut, "Drovix: system log 3 listed, 2 flagged; merged 1 line into " + name +
                                " (1); exported 0 lines\n")
        << first.stdErr;
    const std::string merged = ReadFileBytes(sb + name);
    struct stat before {};
    ASSERT_EQ(::stat((sb + name).c_str(), &before), 0);

    const DrovixRun second = RunDrovix(home, {"/auto"});
    EXPECT_EQ(second.stdOut, "Drovix: system log 3 listed, 0 flagged; merged 0 lines; exported 0 lines\n")
        << second.stdErr;
    struct stat after {};
    ASSERT_EQ(::stat((sb + name).c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the day file was replaced for nothing";
    EXPECT_EQ(ReadFileBytes(sb + name), merged);
}

// The router restarted without its clock: its last line has no date, and nothing after it tells
// the day. It is merged only once a dated line follows it, into that line's day, never first into
// the day of the record before it and then again into the right one.
TEST(SysLogUnattendedRun, AnUndatedLastLineWaitsForItsDay) {
    const std::string yesterday = DateText(QDate::currentDate().addDays(-1));
    const std::string today = DateText(QDate::currentDate());
    std::vector<std::string> log = {yesterday + " 23:50:00 TCP from 198.51.100.7:1 to 127.0.0.41:2",
                                    "00:00:03 @sys Booting"};
    RouterSim sim({}, RouterLog(log));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string sb = PrepareUnattendedHome(home, kSettings + "ADDRESS=" + sim.Address() + "\r\n");

    const DrovixRun first = RunDrovix(home, {"/auto"});
    EXPECT_EQ(first.exitCode, 0) << first.stdErr;
    log.push_back(today + " 00:05:00 @sys WAN up");
    sim.SetRecords(RouterLog(log));
    const DrovixRun second = RunDrovix(home, {"/auto"});
    EXPECT_EQ(second.exitCode, 0) << second.stdErr;

    std::map<std::string, int> booting;
    for (const auto& [name, bytes] : FilesIn(sb))
        if (bytes.find("Booting") != std::string::npos) ++booting[name];
    EXPECT_EQ(booting, (std::map<std::string, int>{{"Log " + today + ".txt", 1}}));
}

}  // namespace
