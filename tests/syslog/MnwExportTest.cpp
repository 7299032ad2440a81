#include <gtest/gtest.h>

#include "LocalZone.h"
#include "SysLogRows.h"
#include "TestForm.h"
#include "syslog/MnwExport.h"
#include "syslog/SysLogRecord.h"
#include "ui/Colours.h"

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
    EXPECT_NE(ReadFileBytes(t.dir.file("Drovix.ini")).find("LASTMNW=2026-12-06 14:30:00\r\n"),
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
    F.SysLog.SetCellBackColorAt(1, R::RemAddr, FlagColour);
    SysLogMNW(F);
    EXPECT_EQ(t.Selected(), "1");
    F.SysLog.SetCellBackColorAt(4, R::RemAddr, FlagColour);
    F.SysLog.SetTextMatrix(2, R::Date, "2026-12-04");  // older than the cutoff, but outbound
    SysLogMNW(F);
    EXPECT_EQ(t.Selected(), "1");
}

}  // namespace
