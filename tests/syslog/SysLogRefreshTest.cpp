// The whole System Log refresh (SysLogMain), which also covers the units it is made of: the pages and
// the router clock (SysLogPages), the list's setup (SysLogLists) and its finish, with the dating of
// undated rows, the separators and the statistics (SysLogFinish).
#include <gtest/gtest.h>

#include <set>

#include "RouterSim.h"
#include "RouterSysLogForm.h"
#include "ScriptedResolver.h"
#include "TestForm.h"
#include "app/RunCycle.h"
#include "form/Colours.h"
#include "form/SysLogRecord.h"

namespace {

using R = SysLogRecord;

// The simulated router sits at 127.0.0.1, so its LAN is 127.0.0.x.
const char* kLines =
    "2026-12-05 23:58:00 TCP from 198.51.100.23:4123 to 127.0.0.100:80\n"
    "2026-12-05 23:59:10 UDP from 127.0.0.101:1030 to 198.51.100.53:53\n"
    "00:00:03 @sys Booting\n"
    "2026-12-06 00:00:05 @sys System started\n"
    "2026-12-09 10:00:00 TCP from 198.51.100.1:1 to 127.0.0.100:2\n"
    "2026-12-06 00:00:07 WAN IP address is 203.0.113.7\n"
    "2026-12-06 08:14:22 ICMP from 203.0.113.150 to 203.0.113.7 ping dropped\n"
    "2026-12-06 09:45:59 TCP from 203.0.113.9:2045 to 127.0.0.102:135 dropped\n"
    "2026-12-06 13:05:12 TCP from 127.0.0.103:2222 to 203.0.113.80:8080\n";

// The simulator's System Log form, without the comparison unless a test turns it on.
struct SysLogForm : RouterSysLogForm {
    explicit SysLogForm(RouterSim& sim) : RouterSysLogForm(sim) { F().CompSB.Value = false; }
    std::string Row(int row) {
        std::string text;
        for (int c = 0; c <= R::Message; ++c) {
            if (c) text += '|';
            text += F().SysLog.TextMatrix(row, c);
        }
        return text;
    }
    std::string Stats() {
        std::string text;
        for (int c = 0; c < F().SysStats.Cols(); ++c) {
            if (c) text += '|';
            text += F().SysStats.TextMatrix(1, c);
        }
        return text;
    }
};

std::vector<std::string> RequestedPaths(RouterSim& sim) {
    std::vector<std::string> paths;
    const std::string out = sim.Output();
    size_t pos = 0;
    while ((pos = out.find("GET ", pos)) != std::string::npos) {
        const size_t end = out.find(' ', pos + 4);
        paths.push_back(out.substr(pos + 4, end - pos - 4));
        pos = end;
    }
    return paths;
}

// The standard layout: pages through Group.cgi until one holds no line, then the clock. The list
// comes out newest first, with a blue row where the day changes, the future line dropped, the
// undated line dated by the record after it, warnings painted and everything counted.
TEST(SysLogRefresh, StandardRouterFillsTheListNewestFirst) {
    RouterSim sim({"--page-lines", "3", "--verbose"}, SysLogRecords(kLines));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    SysLogForm t(sim);
    MainForm& F = t.F();
    // What the save button says while the window shows the refresh going on.
    std::set<std::string> captionsSeen;
    t.frontend.onDoEvents = [&] { captionsSeen.insert(F.BSaveHilited.Caption); };

    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(captionsSeen, (std::set<std::string>{"Update SB logs"}));
    t.frontend.onDoEvents = nullptr;

    const std::vector<std::string> paths = RequestedPaths(sim);
    const std::vector<std::string> expected = {"/",
                                               "/Group.cgi?LogType=0&LogClear=0",
                                               "/SysLogTable.htm",
                                               "/Status.htm",
                                               "/Group.cgi?Log_Page_Num=0&LogClear=0",
                                               "/Group.cgi?Log_Page_Num=1&LogClear=0",
                                               "/Group.cgi?Log_Page_Num=2&LogClear=0",
                                               "/Group.cgi?Log_Page_Num=3&LogClear=0",
                                               "/Status.htm"};
    EXPECT_EQ(paths, expected);

    EXPECT_TRUE(F.SysLogMode);
    EXPECT_TRUE(F.SysLog.Visible);
    EXPECT_FALSE(F.InLog.Visible);
    EXPECT_EQ(F.RouterClockOffset, 90);
    ASSERT_EQ(F.SysLog.Rows(), 10);
    EXPECT_EQ(t.Row(1), "2026-12-06|13:05:12|O|tcp|203.0.113.80||8080|127.0.0.103|2222|");
    EXPECT_EQ(t.Row(2), "2026-12-06|09:45:59|I|tcp|203.0.113.9||2045|127.0.0.102|135|dropped");
    EXPECT_EQ(t.Row(3), "2026-12-06|08:14:22|I|icmp|203.0.113.150|||203.0.113.7||ping dropped");
    EXPECT_EQ(t.Row(4), "2026-12-06|00:00:07|M|||||||WAN IP address is 203.0.113.7");
    EXPECT_EQ(t.Row(5), "2026-12-06|00:00:05|M|||||||@sys System started");
    EXPECT_EQ(t.Row(6), "2026-12-06|00:00:03|M|||||||@sys Booting");
    EXPECT_EQ(t.Row(7), "|||||||||");
    EXPECT_EQ(F.SysLog.CellBackColorAt(7, 0), DayChangeColour);
    EXPECT_LT(F.SysLog.RowHeight(7), F.SysLog.RowHeight(6));
    EXPECT_EQ(t.Row(8), "2026-12-05|23:59:10|O|udp|198.51.100.53||53|127.0.0.101|1030|");
    EXPECT_EQ(t.Row(9), "2026-12-05|23:58:00|I|tcp|198.51.100.23||4123|127.0.0.100|80|");
    for (int row : {1, 2, 3, 9}) EXPECT_EQ(F.SysLog.TextMatrix(row, R::RowTag), "R");
    EXPECT_EQ(F.SysLog.CellBackColorAt(2, R::Message), WarnColour);
    EXPECT_EQ(F.SysLog.CellBackColorAt(1, R::Message), White);

    EXPECT_EQ(t.Stats(), "All|8|0|0|3|2|2|3|0||5|0");
    EXPECT_EQ(F.SysStats.CellBackColorAt(1, 6), WarnColour);
    EXPECT_EQ(F.SysStats.CellBackColorAt(1, 8), White);
    EXPECT_EQ(F.SysCaption.Caption, "System Log  (8 entries,  0 new, 0 not in SB logs)");
    EXPECT_EQ(F.BSaveHilited.Caption, "Update SB logs");
    EXPECT_EQ(F.BRun.Caption, "&Refresh");
    EXPECT_EQ(F.BQuit.Caption, "E&xit");
    EXPECT_FALSE(F.Busy);
}

// The newer family selects each page before reading it; the one-page family reads VPNLog.htm.
TEST(SysLogRefresh, OtherRouterKindsReadTheirOwnPages) {
    {
        RouterSim sim({"--layout", "wag54g", "--page-lines", "5", "--verbose"}, SysLogRecords(kLines));
        ASSERT_TRUE(sim.Started()) << sim.Error();
        SysLogForm t(sim);
        BRun_Click(t.F());
        ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
        auto select = [](int page) {
            const std::string n = std::to_string(page);
            return "/Gozila.cgi?SysLog.htm=" + n +
                   "&hid_returnPoint=hid_sysLogPageNum&hid_sysLogPageNum=" + n +
                   "&hid_sysLogClear=0&sel_sysLogType=0";
        };
        const std::vector<std::string> expected = {
            "/",       select(0),     "/SysLog.htm", "/RouterStatus.htm", select(0),          "/SysLog.htm",
            select(1), "/SysLog.htm", select(2),     "/SysLog.htm",       "/RouterStatus.htm"};
        EXPECT_EQ(RequestedPaths(sim), expected);
        EXPECT_EQ(t.F().RouterClockOffset, 90);
        EXPECT_EQ(t.Stats(), "All|8|0|0|3|2|2|3|0||5|0");
    }
    {
        RouterSim sim({"--layout", "plain", "--verbose"}, SysLogRecords(kLines));
        ASSERT_TRUE(sim.Started()) << sim.Error();
        SysLogForm t(sim);
        BRun_Click(t.F());
        ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
        const std::vector<std::string> paths = RequestedPaths(sim);
        EXPECT_EQ(std::count(paths.begin(), paths.end(), "/VPNLog.htm"), 2);
        EXPECT_EQ(paths.back(), "/Status.htm");
        EXPECT_EQ(t.Stats(), "All|8|0|0|3|2|2|3|0||5|0");
        EXPECT_EQ(t.Row(1), "2026-12-06|13:05:12|O|tcp|203.0.113.80||8080|127.0.0.103|2222|");
    }
}

// With history kept, every router line goes once to the file of its own day; the next refresh
// lists the history, marks where the router's new lines begin and appends only those.
TEST(SysLogRefresh, HistoryFilesKeepEachRouterLineOnce) {
    RouterSim sim({"--page-lines", "4"}, SysLogRecords(kLines));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    SysLogForm t(sim);
    MainForm& F = t.F();
    F.CSaveSysLog.Value = true;
    F.ShowMessages[4].Value = true;

    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    const std::string day5 =
        "2026-12-05 23:58:00 TCP from 198.51.100.23:4123 to 127.0.0.100:80\r\n"
        "2026-12-05 23:59:10 UDP from 127.0.0.101:1030 to 198.51.100.53:53\r\n"
        "00:00:03 @sys Booting\r\n";
    const std::string day6 =
        "2026-12-06 00:00:05 @sys System started\r\n"
        "2026-12-06 00:00:07 WAN IP address is 203.0.113.7\r\n"
        "2026-12-06 08:14:22 ICMP from 203.0.113.150 to 203.0.113.7 ping dropped\r\n"
        "2026-12-06 09:45:59 TCP from 203.0.113.9:2045 to 127.0.0.102:135 dropped\r\n"
        "2026-12-06 13:05:12 TCP from 127.0.0.103:2222 to 203.0.113.80:8080\r\n";
    EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-05.txt")), day5);
    EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt")), day6);
    EXPECT_FALSE(FileExists(t.dir.file("DXLog 1999-01-01.txt")));
    EXPECT_FALSE(FileExists(t.dir.file("DXLog 2026-12-09.txt")));
    EXPECT_EQ(F.SysStats.TextMatrix(1, 2), "0");

    const std::string later = "2026-12-06 14:00:00 UDP from 198.51.100.9:5 to 127.0.0.100:6";
    sim.SetRecords(SysLogRecords(std::string(kLines) + later + "\n"));
    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt")), day6 + later + "\r\n");
    EXPECT_EQ(t.Row(1), "2026-12-06|14:00:00|I|udp|198.51.100.9||5|127.0.0.100|6|");
    EXPECT_EQ(F.SysLog.CellBackColorAt(2, 0), NewRecordsColour);
    EXPECT_EQ(t.Row(3), "2026-12-06|13:05:12|O|tcp|203.0.113.80||8080|127.0.0.103|2222|");
    EXPECT_EQ(t.Stats(), "All|9|1|0|4|2|2|3|0||6|0");
    EXPECT_EQ(F.SysCaption.Caption, "System Log  (9 entries,  1 new, 0 not in SB logs)");

    // Nothing new: nothing appended, nothing new listed.
    BRun_Click(F);
    EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt")), day6 + later + "\r\n");
    EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-05.txt")), day5);
    EXPECT_EQ(F.SysStats.TextMatrix(1, 2), "0");
}

// Display filters, subtypes and the don't-log lists decide what is listed and how.
TEST(SysLogRefresh, FiltersSubtypesAndDontLogLists) {
    RouterSim sim({},
                  SysLogRecords(std::string(kLines) +
                                "2026-12-06 13:10:00 TCP from 127.0.0.104:1111 to 198.51.100.8:25 drop\n"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    SysLogForm t(sim);
    MainForm& F = t.F();
    F.ShowMessages[0].Value = false;  // no inbound records but warnings
    F.ShowMessages[2].Value = false;  // no messages
    F.UseSubtypes = true;
    F.CompSB.Value = true;
    F.SBAddrList = {"203.0.113.9"};

    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(t.Row(1), "2026-12-06|13:10:00|B|tcp|198.51.100.8||25|127.0.0.104|1111|drop");
    EXPECT_EQ(t.Row(2), "2026-12-06|13:05:12|O|tcp|203.0.113.80||8080|127.0.0.103|2222|");
    EXPECT_EQ(t.Row(3), "2026-12-06|09:45:59|I|tcp|203.0.113.9||2045|127.0.0.102|135|dropped");
    EXPECT_EQ(F.SysLog.TextMatrix(3, R::RowTag), "N");
    EXPECT_EQ(F.SysLog.CellBackColorAt(3, 0), IgnoreColour);
    EXPECT_EQ(F.SysLog.CellBackColorAt(4, 0), FlagColour);  // no Stillbeacon file: missing
    EXPECT_EQ(t.Row(4), "2026-12-06|08:14:22|I|icmp|203.0.113.150|||203.0.113.7||ping dropped");
    EXPECT_EQ(F.SysLog.Rows(), 7);  // a blue row, then the outbound record of the 5th
    EXPECT_EQ(t.Row(6), "2026-12-05|23:59:10|O|udp|198.51.100.53||53|127.0.0.101|1030|");
    EXPECT_EQ(t.Stats(), "All|5|0|4|1|3|3|0|1||5|0");

    // Inbound records listed again: one without a warning becomes a "P" (it reached a LAN host).
    F.ShowMessages[0].Value = true;
    F.ShowMessages[6].Value = false;  // hidden records are not listed
    BRun_Click(F);
    EXPECT_EQ(F.SysLog.TextMatrix(F.SysLog.Rows() - 1, R::Dir), "P");
    EXPECT_EQ(t.Stats(), "All|5|0|5|2|3|2|0|0||5|0");
}

// Exit during the refresh stops it quietly: no message, the buttons restored, nothing listed.
TEST(SysLogRefresh, CancelStopsWithoutAMessage) {
    RouterSim sim({"--page-lines", "2"}, SysLogRecords(kLines));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    SysLogForm t(sim);
    MainForm& F = t.F();
    t.frontend.onDoEvents = [&] {
        if (F.Busy && F.BQuit.Caption == "Cancel") BQuit_Click(F);
    };
    BRun_Click(F);
    EXPECT_TRUE(t.frontend.messages.empty());
    EXPECT_FALSE(F.Busy);
    EXPECT_FALSE(F.QuitRequested);
    EXPECT_FALSE(F.UnloadRequested);
    EXPECT_EQ(F.BQuit.Caption, "E&xit");
    EXPECT_FALSE(F.SysLog.HasRecords());
}

// With names looked up, inbound records' addresses are resolved on the concurrent workers
// through the resolver (scripted here: no lookup leaves the machine); the rest stay unnamed.
TEST(SysLogRefresh, LooksUpTheNamesOfInboundAddresses) {
    RouterSim sim({}, SysLogRecords(kLines));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    SysLogForm t(sim);
    MainForm& F = t.F();
    auto resolver = std::make_shared<ScriptedResolver>();
    resolver->Name("198.51.100.23", "Scanner.Example.NET");
    resolver->Name("203.0.113.150", "pinger.example.org");
    F.resolve.resolver = resolver;
    F.ConvertIPInEffect = true;
    F.LookupThreads = 30;

    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(F.SysLog.TextMatrix(9, R::RemURL), "scanner.example.net");
    EXPECT_EQ(F.SysLog.TextMatrix(3, R::RemURL), "pinger.example.org");
    EXPECT_EQ(F.SysLog.TextMatrix(8, R::RemURL), "");  // outbound: not looked up
    EXPECT_EQ(F.SysStats.TextMatrix(1, 10), "3");      // only addresses count, messages have none
}

// An undated last line has no dated record after it: it takes the date of the record before it, a
// guess noted as such, and the separator before it goes as it no longer parts two days. Listed
// from the history, the record is followed by the low magenta row where the new lines begin.
TEST(SysLogRefresh, AnUndatedLastLineTakesTheDateBeforeItAsAGuess) {
    const std::string dated = "2026-12-06 08:00:00 TCP from 198.51.100.1:1 to 127.0.0.100:22";
    RouterSim sim({}, SysLogRecords(dated + "\n00:00:04 @sys Booting\n"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    for (const bool history : {false, true}) {
        SysLogForm t(sim);
        MainForm& F = t.F();
        F.CSaveSysLog.Value = F.ShowMessages[4].Value = history;
        if (history) WriteFileBytes(t.dir.file("DXLog 2026-12-06.txt"), dated + "\r\n");

        BRun_Click(F);
        ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
        ASSERT_EQ(F.SysLog.Rows(), history ? 4 : 3) << history;
        EXPECT_EQ(t.Row(1), "2026-12-06|00:00:04|M|||||||@sys Booting") << history;
        EXPECT_EQ(t.Row(F.SysLog.Rows() - 1), "2026-12-06|08:00:00|I|tcp|198.51.100.1||1|127.0.0.100|22|");
        EXPECT_EQ(F.syslog.UnsettledDateKeys, (std::unordered_set<std::string>{"3"})) << history;
        if (history) {
            EXPECT_EQ(F.SysLog.CellBackColorAt(2, 0), NewRecordsColour);
            EXPECT_LT(F.SysLog.RowHeight(2), F.SysLog.RowHeight(1));
        }
    }
}

// The timeframe decides which history lines are listed; the router's new line is listed in each.
TEST(SysLogRefresh, TimeframesChooseTheHistoryListed) {
    const std::string last = "2026-12-06 09:00:00 TCP from 198.51.100.4:4 to 127.0.0.100:22";
    const std::string fresh = "2026-12-06 10:00:00 TCP from 198.51.100.5:5 to 127.0.0.100:22";
    RouterSim sim({}, SysLogRecords(last + "\n" + fresh + "\n"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const std::vector<std::pair<int, std::string>> timeframes = {
        {0, "All|5"}, {3, "1 week|4"}, {2, "2 days|3"}, {1, "New|1"}};
    for (const auto& [option, expected] : timeframes) {
        SysLogForm t(sim);
        MainForm& F = t.F();
        F.CSaveSysLog.Value = true;
        F.ShowMessages[4].Value = true;
        for (size_t i = 0; i < F.Include.size(); ++i) F.Include[i].Value = static_cast<int>(i) == option;
        WriteFileBytes(t.dir.file("DXLog 2026-11-25.txt"),
                       "2026-11-25 08:00:00 TCP from 198.51.100.1:1 to 127.0.0.100:22\r\n");
        WriteFileBytes(t.dir.file("DXLog 2026-12-03.txt"),
                       "2026-12-03 08:00:00 TCP from 198.51.100.2:2 to 127.0.0.100:22\r\n");
        WriteFileBytes(t.dir.file("DXLog 2026-12-05.txt"),
                       "2026-12-05 08:00:00 TCP from 198.51.100.3:3 to 127.0.0.100:22\r\n");
        WriteFileBytes(t.dir.file("DXLog 2026-12-06.txt"), last + "\r\n");

        BRun_Click(F);
        ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
        EXPECT_EQ(std::string(F.SysStats.TextMatrix(1, 0)) + "|" + std::string(F.SysStats.TextMatrix(1, 1)), expected);
        EXPECT_EQ(t.Row(1), "2026-12-06|10:00:00|I|tcp|198.51.100.5||5|127.0.0.100|22|") << expected;
        EXPECT_EQ(F.SysStats.TextMatrix(1, 2), "1") << expected;
        EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt")), last + "\r\n" + fresh + "\r\n");
    }
}

}  // namespace
