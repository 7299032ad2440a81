#include <gtest/gtest.h>

#include "LocalZone.h"
#include "RouterSysLogForm.h"
#include "SysLogRows.h"
#include "TestForm.h"
#include "app/RunCycle.h"
#include "app/SaveCommands.h"
#include "form/Colours.h"
#include "form/SysLogRecord.h"
#include "stdlog/SbLogWriter.h"
#include "syslog/MnwExport.h"

namespace {

using R = SysLogRecord;

// Five hours west of UTC in December; the clock is pinned at 2026-12-06 14:30:00 local.
struct ExportForm : TestForm {
    ExportForm() {
        MainForm& f = F();
        f.CmnW.Value = true;
        f.SysStats.SetCols(11);
        f.SysStats.SetRows(2);
        FillSysLogRows(
            f.SysLog,
            {{"2026-12-06", "14:00:00", "I", "tcp", "203.0.113.9", "", "135", "192.168.1.100", "135"},
             {"2026-12-06", "13:00:00", "O", "tcp", "198.51.100.1", "", "80", "192.168.1.100", "3000"},
             {"2026-12-06", "12:00:00", "P", "udp", " 198.51.100.7 ", "", "", "1.2.3", ""},
             {"2026-12-05", "14:00:00", "I", "tcp", "198.51.100.8", "", "22", "192.168.1.100", "22"}});
    }
    std::string Selected() {
        std::string rows;
        for (int r = 1; r < F().SysLog.Rows(); ++r)
            if (F().SysLog.CellBackColorAt(r, R::RemAddr) == MnwColour) rows += std::to_string(r);
        return rows;
    }
    LocalZone zone{"EST5EDT"};
};

const std::string kBothLines =
    "2026/12/06 17:00:00 P 198.51.100.7 -1 0.0.0.0 -1 udp\r\n"
    "2026/12/06 19:00:00 I 203.0.113.9 135 192.168.1.100 135 tcp\r\n";

// The last 24 hours in UTC, oldest first; the export time is kept and read back, so the next
// export starts there; a second export without a refresh writes nothing.
TEST(MnwExport, ExportsTheLastDayOnceAndRemembersWhen) {
    ExportForm t;
    MainForm& F = t.F();
    SysLogMNW(F);
    EXPECT_EQ(t.Selected(), "13");
    EXPECT_EQ(F.SysStats.TextMatrix(1, 9), "2");
    EXPECT_EQ(F.SysStats.CellBackColorAt(1, 9), MnwColour);
    EXPECT_TRUE(F.BSaveAll.Enabled);

    SysLogmNWSave(F);
    EXPECT_EQ(ReadFileBytes(t.dir.file("SBmNW.log")), kBothLines);
    EXPECT_FALSE(F.BSaveAll.Enabled);
    EXPECT_NE(ReadFileBytes(t.dir.file("Drovix.ini")).find("LASTMNW=2026-12-06 14:30:00 -05:00\r\n"),
              std::string::npos);
    WriteFileBytes(t.dir.file("SBmNW.log"), "taken by the agent\r\n");
    SysLogmNWSave(F);
    EXPECT_EQ(ReadFileBytes(t.dir.file("SBmNW.log")), "taken by the agent\r\n");

    // Half an hour later the next selection starts at the export: 14:45 goes, 14:20 does not.
    F.SysLog.SetTextMatrix(2, R::Dir, "I");
    F.SysLog.SetTextMatrix(2, R::Time, "14:20:00");
    F.SysLog.SetTextMatrix(1, R::Time, "14:45:00");
    t.clock.Set(QDateTime(QDate(2026, 12, 6), QTime(15, 0, 0)));
    SysLogMNW(F);
    EXPECT_EQ(F.SysStats.TextMatrix(1, 9), "1");
}

// A lost, stale or far-future export time falls back to the last 24 hours; with the comparison
// on, only records missing from Stillbeacon's logs go, and an older one ends the scan.
TEST(MnwExport, CutoffAndComparison) {
    for (const char* last : {"", "2026-12-04 14:30:00", "2026-12-08 14:30:00", "12/6/26 2:30 PM"}) {
        ExportForm t;
        t.F().LastMnwTime = last;
        SysLogMNW(t.F());
        EXPECT_EQ(t.Selected(), "13") << last;
    }
    ExportForm t;
    MainForm& F = t.F();
    F.CompSB.Value = true;
    F.SysLog.SetTextMatrix(1, R::RowTag, "R");
    SysLogMNW(F);
    EXPECT_EQ(t.Selected(), "1");
    F.SysLog.SetTextMatrix(4, R::RowTag, "R");
    F.SysLog.SetTextMatrix(2, R::Date, "2026-12-04");  // older than the cutoff, but outbound
    SysLogMNW(F);
    EXPECT_EQ(t.Selected(), "1");
}

// Next to both changes of summer time, in a zone east and one west of UTC: each record goes out
// stamped with its true UTC, and what the last export sent (LASTMNW) does not go again. In the
// hour that repeats, the rows' order tells which of its two readings a time is.
TEST(MnwExport, UtcAcrossChangesOfSummerTime) {
    struct Case {
        const char* zone;
        std::string lastExport;             // of the day; now is 06:00 of it
        std::vector<std::string> times;     // of that day, newest first
        std::vector<std::string> exported;  // time and address of each line, oldest first
    };
    const std::vector<Case> cases = {
        {"Europe/Berlin",
         "2024-03-31 03:30:00",
         {"04:00:00", "01:45:00"},
         {"2024/03/31 02:00:00 I 198.51.100.1"}},
        {"Europe/Berlin",
         "2024-10-27 02:40:00 +01:00",
         {"04:00:00", "02:45:00", "02:10:00", "02:50:00"},
         {"2024/10/27 01:45:00 I 198.51.100.2", "2024/10/27 03:00:00 I 198.51.100.1"}},
        {"America/New_York",
         "2024-03-10 03:30:00",
         {"04:00:00", "01:45:00"},
         {"2024/03/10 08:00:00 I 198.51.100.1"}},
        {"America/New_York",
         "2024-11-03 01:40:00 -05:00",
         {"04:00:00", "01:45:00", "01:10:00", "01:50:00"},
         {"2024/11/03 06:45:00 I 198.51.100.2", "2024/11/03 09:00:00 I 198.51.100.1"}},
    };
    for (const Case& c : cases) {
        LocalZone zone(c.zone);
        TestForm t;
        MainForm& F = t.F();
        F.CmnW.Value = true;
        F.SysStats.SetCols(11);
        F.SysStats.SetRows(2);
        const std::string day = c.lastExport.substr(0, 10);
        t.clock.Set(QDateTime(QDate::fromString(QString::fromStdString(day), "yyyy-MM-dd"), QTime(6, 0)));
        F.LastMnwTime = c.lastExport;
        std::vector<std::vector<std::string>> rows;
        for (const std::string& time : c.times)
            rows.push_back({day, time, "I", "tcp", "198.51.100." + std::to_string(rows.size() + 1)});
        FillSysLogRows(F.SysLog, rows);
        SysLogMNW(F);
        SysLogmNWSave(F);
        std::string expected;
        for (const std::string& line : c.exported) expected += line + " -1 0.0.0.0 -1 tcp\r\n";
        EXPECT_EQ(ReadFileBytes(t.dir.file("SBmNW.log")), expected) << c.zone << " " << c.lastExport;
    }
}

// "Update SB logs" pressed before "Update mNW log": its refresh finds the merged records in
// Stillbeacon's logs, but the records chosen for the export still go out.
TEST(MnwExport, ChosenRecordsSurviveTheMergeBeforeTheExport) {
    LocalZone zone("EST5EDT");
    RouterSim sim({}, SysLogRecords("2026-12-06 08:14:22 ICMP from 203.0.113.150 to 127.0.0.100 ping\n"
                                    "2026-12-06 09:45:59 TCP from 203.0.113.9:2045 to 127.0.0.102:135\n"
                                    "2026-12-06 13:05:12 TCP from 127.0.0.103:2222 to 203.0.113.80:8080\n"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterSysLogForm t(sim);
    MainForm& F = t.F();
    F.CmnW.Value = true;

    BRun_Click(F);
    EXPECT_EQ(F.SysStats.TextMatrix(1, 9), "2");
    BSaveHilited_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(F.syslog.NotInSbLogs, 0);
    EXPECT_EQ(F.SysStats.TextMatrix(1, 9), "2");
    EXPECT_EQ(F.SysLog.CellBackColorAt(2, R::RemAddr), MnwColour);
    t.clock.Set(QDateTime(QDate(2026, 12, 6), QTime(14, 50)));
    BSaveAll_Click(F);
    EXPECT_EQ(ReadFileBytes(t.dir.file("SBmNW.log")),
              "2026/12/06 13:14:22 I 203.0.113.150 -1 127.0.0.100 -1 icmp\r\n"
              "2026/12/06 14:45:59 I 203.0.113.9 2045 127.0.0.102 135 tcp\r\n");

    // What the router logged after the refresh, before the button was pressed, goes next time.
    sim.SetRecords(
        "[clock]\n2026-12-06 15:03:30\n[syslog]\n2026-12-06 14:40:00 UDP from 203.0.113.11:7 to "
        "127.0.0.100:9\n");
    t.clock.Set(QDateTime(QDate(2026, 12, 6), QTime(15, 5)));
    BRun_Click(F);
    BSaveAll_Click(F);
    EXPECT_EQ(ReadFileBytes(t.dir.file("SBmNW.log")),
              "2026/12/06 19:40:00 I 203.0.113.11 7 127.0.0.100 9 udp\r\n");
}

}  // namespace
