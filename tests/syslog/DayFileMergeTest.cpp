#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include "FailingFileCall.h"
#include "RouterSysLogForm.h"
#include "SysLogRows.h"
#include "TestForm.h"
#include "app/RunCycle.h"
#include "app/SaveCommands.h"
#include "form/SysLogRecord.h"
#include "sblog/DayFileSort.h"
#include "stdlog/SbLogWriter.h"
#include "syslog/DayFileMerge.h"
#include "syslog/RecordMarking.h"

namespace {

using R = SysLogRecord;

const char* const InUse = "The Stillbeacon log was in use.  Please try again.";

// The rows as the refresh lists them, ready for "Update SB logs".
void FillSysLog(MainForm& F, const std::vector<std::vector<std::string>>& rows) {
    FillRouterRows(F.SysLog, rows);
    F.SysLog.Visible = true;
    F.BSaveHilited.Enabled = true;
}

std::vector<std::string> Tags(const MainForm& F) {
    std::vector<std::string> tags;
    for (int row = 1; row < F.SysLog.Rows(); ++row) tags.emplace_back(F.SysLog.TextMatrix(row, R::RowTag));
    return tags;
}

// An exclusive lock through a descriptor of its own, as Stillbeacon holds its file while writing.
struct HeldLock {
    explicit HeldLock(const std::string& path) : fd(::open(path.c_str(), O_RDONLY)) {
        EXPECT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    }
    ~HeldLock() { Release(); }
    void Release() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int fd;
};

// Stillbeacon's own blank-form day, its last line cut short of its end, one line ended by LF alone.
const std::string Day5 =
    "2026/12/05 10:00:00.12 I 198.51.100.7\xA0tcp 4123 192.168.1.5 80\n"
    "2026/12/05 23:00:00.00 O www.example.com(203.0.113.40)\xA0tcp 80 192.168.1.100 1025";

// A blank-form file keeps its form, a new day is written in tab form; messages of inbound records
// get lines of their own; a Drovix line gives way to Stillbeacon's equal line with hundredths,
// identical rows collapse, and records of the same second that differ are all kept.
TEST(SysLogSave, MergesEachDayInItsOwnForm) {
    TestForm t;
    MainForm& F = t.F();
    WriteFileBytes(t.dir.file("Log 2026-12-05.txt"), Day5);
    FillSysLog(
        F, {{"2026-12-06", "08:00:00", "M", "", "", "", "", "", "", "@sys System started"},
            {"2026-12-06", "07:00:00", "I", "tcp", "198.51.100.9", "198.51.100.9", "2045", "192.168.1.102",
             "135", "dropped now"},
            {},
            {"2026-12-05", "12:00:00", "O", "udp", "198.51.100.53", "dns.example", "53", "192.168.1.101",
             "1030"},
            {"2026-12-05", "12:00:00", "O", "udp", "198.51.100.53", "dns.example", "53", "192.168.1.101",
             "1030"},
            {"2026-12-05", "12:00:00", "O", "udp", "198.51.100.54", "", "53", "192.168.1.101", "1030"},
            {"2026-12-05", "10:00:00", "I", "tcp", "198.51.100.7", "", "4123", "192.168.1.5", "80"},
            {"2026-12-05", "09:00:00", "I", "icmp", "203.0.113.150", "?", "", "203.0.113.7", "",
             "ping  dropped"},
            {"2026-12-05", "08:00:00", "M", "", "", "", "", "", "", "WAN IP address is 203.0.113.7"},
            {"2026-12-05", "07:00:00", "I", "tcp", "198.51.100.1", "", "1", "192.168.1.5", "2", "", "N"}});

    SysLogSave(F, true);
    EXPECT_TRUE(t.frontend.messages.empty());
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-05.txt")),
              "2026/12/05 08:00:00 M WAN\xA0IP\xA0"
              "address\xA0is\xA0"
              "203.0.113.7 . . .\r\n"
              "2026/12/05 09:00:00 I 203.0.113.150\xA0icmp . 203.0.113.7 .\r\n"
              "2026/12/05 09:00:00 M ping\xA0\xA0"
              "dropped . . .\r\n"
              "2026/12/05 10:00:00.12 I 198.51.100.7\xA0tcp 4123 192.168.1.5 80\r\n"
              "2026/12/05 12:00:00 O 198.51.100.54\xA0udp 53 192.168.1.101 1030\r\n"
              "2026/12/05 12:00:00 O dns.example(198.51.100.53)\xA0udp 53 192.168.1.101 1030\r\n"
              "2026/12/05 23:00:00.00 O www.example.com(203.0.113.40)\xA0tcp 80 192.168.1.100 1025\r\n");
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-06.txt")),
              "2026/12/06\t07:00:00\tI\ttcp\t198.51.100.9\t\t2045\t192.168.1.102\t135\r\n"
              "2026/12/06\t07:00:00\tM\t\t\tdropped\xA0now\t\t\t\r\n"
              "2026/12/06\t08:00:00\tM\t\t\t@sys\xA0System\xA0started\t\t\t\r\n");
    EXPECT_EQ(Tags(F), std::vector<std::string>({"", "", "", "", "", "", "", "", "", "N"}));
    ASSERT_EQ(F.Summary.Merged.size(), 2u);
    EXPECT_EQ(F.Summary.Merged[0].name, "Log 2026-12-05.txt");
    EXPECT_EQ(F.Summary.Merged[0].lines, 5);
    EXPECT_EQ(F.Summary.Merged[1].name, "Log 2026-12-06.txt");
    EXPECT_EQ(F.Summary.Merged[1].lines, 3);
    EXPECT_FALSE(F.BSaveHilited.Enabled);
    EXPECT_FALSE(F.Busy);
    EXPECT_EQ(t.frontend.pointer, MousePointer::Default);

    // Rows whose lines are all in the files already leave the files as they are, not rewritten,
    // and write nothing at all (with "Compare with SB logs" off, every run merges all it lists).
    struct stat before {
    }, after{};
    ASSERT_EQ(::stat(t.dir.file("Log 2026-12-05.txt").c_str(), &before), 0);
    for (int row = 1; row < F.SysLog.Rows() - 1; ++row) F.SysLog.SetTextMatrix(row, R::RowTag, "R");
    struct CountedWrites : FileFaults {
        int Fault(FileCall call, std::string_view) override {
            writes += call == FileCall::Write;
            return 0;
        }
        int writes = 0;
    } counted;
    FileFaults* const previous = InjectFileFaults(&counted);
    SysLogSave(F, true);
    InjectFileFaults(previous);
    EXPECT_EQ(counted.writes, 0);
    ASSERT_EQ(::stat(t.dir.file("Log 2026-12-05.txt").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(F.Summary.MergedLines(), 8);
}

// A tab-form line gives way only to an identical one: the blank after the time that tells
// hundredths apart is not there. Lines merged before are not counted again.
TEST(SysLogSave, TabFormDuplicatesAndLinesAlreadyMerged) {
    EXPECT_TRUE(GivesWayTo("2026/12/06\t07:00:00\tI\tx", "2026/12/06\t07:00:00\tI\tx"));
    EXPECT_FALSE(GivesWayTo("2026/12/06\t07:00:00\tI\tx", "2026/12/06\t07:00:00.00\tI\tx"));
    EXPECT_FALSE(GivesWayTo("2026/12/06 07:00:00.00 I x", "2026/12/06 07:00:00.00 I x"));
    const MergedDay again = MergeDayLines("b\r\na\r\n", {"a", "c", "a"});
    EXPECT_EQ(again.bytes, "a\r\nb\r\nc\r\n");
    EXPECT_EQ(again.added, 1);
    // The file's lines are copied in runs: a file out of order, or ended by a bare line feed, or
    // not at all, still comes out line by line, each ended by CR LF.
    EXPECT_EQ(MergeDayLines("c\r\na\r\nb\r\n", {"d"}).bytes, "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(MergeDayLines("a\nb\r\nd", {"c"}).bytes, "a\r\nb\r\nc\r\nd\r\n");
}

// A large day file is written out as it is merged, its own bytes in long runs; one found out of
// order only near its end is merged again from the start, and nothing of the first try stays.
TEST(SysLogSave, ALargeDayFileOutOfOrderComesOutWholeAndSorted) {
    TestForm t;
    MainForm& F = t.F();
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        char line[80];
        std::snprintf(line, sizeof line,
                      "2026/12/05 %02d:%02d:%02d.00 I 198.51.100.%d\xA0tcp 4123 192.168.1.5 80", 1 + i / 3600,
                      i / 60 % 60, i % 60, i % 200);
        lines.emplace_back(line);
    }
    lines.emplace_back("2026/12/05 00:30:00.00 I 198.51.100.1\xA0tcp 4123 192.168.1.5 80");
    std::string day;
    for (const std::string& line : lines) day += line + "\r\n";
    WriteFileBytes(t.dir.file("Log 2026-12-05.txt"), day);
    FillSysLog(F,
               {{"2026-12-05", "01:20:00", "I", "tcp", "198.51.100.9", "", "2045", "192.168.1.102", "135"}});

    SysLogSave(F, true);
    EXPECT_TRUE(t.frontend.messages.empty());
    lines.emplace_back("2026/12/05 01:20:00 I 198.51.100.9\xA0tcp 2045 192.168.1.102 135");
    std::sort(lines.begin(), lines.end());
    std::string sorted;
    for (const std::string& line : lines) sorted += line + "\r\n";
    const std::string merged = ReadFileBytes(t.dir.file("Log 2026-12-05.txt"));
    EXPECT_EQ(merged.size(), sorted.size());
    EXPECT_TRUE(merged == sorted);  // not printed: 200 KB
    EXPECT_EQ(F.Summary.MergedLines(), 1);
}

// A day held by another program is tried again for two seconds; a lock released meanwhile lets
// the merge go on. Held all along, the day's file is left byte for byte, its rows stay tagged and
// the button stays on; the older day was merged before it.
TEST(SysLogSave, ADayInUseIsLeftAsItWas) {
    TestForm t;
    MainForm& F = t.F();
    const std::string day6 = "2026/12/06 06:00:00.00 I 198.51.100.2 1 192.168.1.5 2\r\n";
    WriteFileBytes(t.dir.file("Log 2026-12-06.txt"), day6);
    const std::vector<std::vector<std::string>> rows = {
        {"2026-12-06", "07:00:00", "I", "", "198.51.100.3", "", "1", "192.168.1.5", "2"},
        {"2026-12-05", "07:00:00", "I", "", "198.51.100.4", "", "1", "192.168.1.5", "2"}};
    FillSysLog(F, rows);
    QElapsedTimer timer;
    timer.start();
    {
        HeldLock held(t.dir.file("Log 2026-12-06.txt"));
        SysLogSave(F, true);
    }
    EXPECT_GE(timer.elapsed(), 1900);
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text, InUse);
    EXPECT_EQ(t.frontend.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-06.txt")), day6);
    EXPECT_TRUE(FileExists(t.dir.file("Log 2026-12-05.txt")));
    EXPECT_EQ(Tags(F), std::vector<std::string>({"R", ""}));
    EXPECT_TRUE(F.BSaveHilited.Enabled);
    EXPECT_EQ(F.Summary.MergedLines(), 1);
    EXPECT_EQ(QDir(QString::fromStdString(t.dir.path())).entryList(QDir::Files).size(), 2);

    HeldLock held(t.dir.file("Log 2026-12-06.txt"));
    QTimer::singleShot(700, [&] { held.Release(); });
    SysLogSave(F, true);
    EXPECT_EQ(t.frontend.messages.size(), 1u);
    const std::string merged6 = day6 + "2026/12/06 07:00:00 I 198.51.100.3 1 192.168.1.5 2\r\n";
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-06.txt")), merged6);
    EXPECT_EQ(Tags(F), std::vector<std::string>({"", ""}));

    // Exit pressed while the merge waits: it stops there without a message, and the exit follows
    // once the merge has let go. The rows merged again add nothing.
    const std::string merged5 = ReadFileBytes(t.dir.file("Log 2026-12-05.txt"));
    FillSysLog(F, rows);
    HeldLock again(t.dir.file("Log 2026-12-06.txt"));
    QTimer::singleShot(200, [&] { BQuit_Click(F); });
    SysLogSave(F, true);
    EXPECT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_TRUE(F.UnloadRequested);
    EXPECT_FALSE(F.Busy || F.QuitRequested);
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-05.txt")), merged5);
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-06.txt")), merged6);
}

// A day that cannot be read, or whose new file cannot be written, is left as it was, and the
// merge stops there with its message.
TEST(SysLogSave, ReadAndWriteFailuresChangeNothing) {
    TestForm t;
    MainForm& F = t.F();
    FillSysLog(F, {{"2026-12-06", "07:00:00", "I", "", "198.51.100.3", "", "1", "192.168.1.5", "2"},
                   {"2026-12-05", "07:00:00", "I", "", "198.51.100.4", "", "1", "192.168.1.5", "2"}});
    {
        const FailingFileCall unreadable(FileCall::Open, 1, "Log 2026-12-05.txt");
        SysLogSave(F, true);
    }
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text,
              std::string(InUse) + " (Log 2026-12-05.txt in folder " + F.SbLogDir + ": Permission denied)");
    EXPECT_FALSE(FileExists(t.dir.file("Log 2026-12-06.txt")));
    EXPECT_EQ(Tags(F), std::vector<std::string>({"R", "R"}));

    const std::string day5(300, 'x');
    WriteFileBytes(t.dir.file("Log 2026-12-05.txt"), day5);
    {
        const FailingFileCall diskFull(FileCall::Write, 1, "", ENOSPC);
        SysLogSave(F, true);
    }
    ASSERT_EQ(t.frontend.messages.size(), 2u);
    EXPECT_EQ(t.frontend.messages[1].text,
              "Error 2 in 'SysLogSave' updating log file Log 2026-12-05.txt in folder " + F.SbLogDir +
                  ": No space left on device");
    EXPECT_EQ(t.frontend.messages[1].title, "Drovix Error");
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-05.txt")), day5);
    EXPECT_EQ(QDir(QString::fromStdString(t.dir.path())).entryList(QDir::Files),
              QStringList{"Log 2026-12-05.txt"});
    EXPECT_EQ(Tags(F), std::vector<std::string>({"R", "R"}));
}

// More rows than a 16-bit index reaches, the two days taking turns in the list: every row is
// merged, and each day file is written once.
TEST(SysLogSave, MergesEveryRowOfALongList) {
    TestForm t;
    MainForm& F = t.F();
    constexpr int Rows = 40000;
    std::vector<std::vector<std::string>> rows;
    rows.reserve(Rows);
    for (int i = 0; i < Rows; ++i) {
        rows.push_back({i % 2 ? "2026-12-05" : "2026-12-06", "10:00:00", "I", "tcp", "198.51.100.1", "",
                        std::to_string(i), "192.168.1.5", "80"});
    }
    FillSysLog(F, rows);
    SysLogSave(F, true);
    ASSERT_EQ(F.Summary.Merged.size(), 2u);
    for (const auto& day : F.Summary.Merged) {
        EXPECT_EQ(day.lines, Rows / 2);
        const std::string bytes = ReadFileBytes(t.dir.file(day.name));
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), Rows / 2);
    }
    const std::vector<std::string> tags = Tags(F);
    EXPECT_EQ(std::count(tags.begin(), tags.end(), ""), Rows);
}

// "Update SB logs" merges what the matching found missing, then refreshes: the refresh reads the
// merged lines back and finds nothing missing any more. A record the person unmarked stays
// unmarked across that refresh, rather than coming back as missing.
TEST(SysLogSave, UpdateSbLogsThenTheRefreshFindsNothingMissing) {
    RouterSim sim({},
                  SysLogRecords("2026-12-05 23:58:00 TCP from 198.51.100.23:4123 to 127.0.0.100:80 dropped\n"
                                "2026-12-06 08:14:22 ICMP from 203.0.113.150 to 203.0.113.7 ping dropped\n"
                                "2026-12-06 09:00:00 @sys Time synchronised\n"
                                "2026-12-06 13:05:12 TCP from 127.0.0.103:2222 to 203.0.113.80:8080\n"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterSysLogForm t(sim);
    MainForm& F = t.F();
    const std::string sbLine = "2026/12/06 13:05:12.40 O 203.0.113.80\xA0tcp 8080 127.0.0.103 2222\r\n";
    WriteFileBytes(t.dir.file("Log 2026-12-06.txt"), sbLine);

    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(F.syslog.NotInSbLogs, 3);
    const auto rowOf = [&F](const std::string& message) {
        for (int row = 1; row < F.SysLog.Rows(); ++row)
            if (F.SysLog.TextMatrix(row, R::Message) == message) return row;
        return -1;
    };
    F.SysLog.SetRow(rowOf("@sys Time synchronised"));
    SysMark(F, UnmarkThis);
    ASSERT_TRUE(F.BSaveHilited.Enabled);
    BSaveHilited_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-05.txt")),
              "2026/12/05\t23:58:00\tI\ttcp\t198.51.100.23\t\t4123\t127.0.0.100\t80\r\n"
              "2026/12/05\t23:58:00\tM\t\t\tdropped\t\t\t\r\n");
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-06.txt")),
              "2026/12/06 08:14:22 I 203.0.113.150\xA0icmp . 203.0.113.7 .\r\n"
              "2026/12/06 08:14:22 M ping\xA0"
              "dropped . . .\r\n" +
                  sbLine);
    EXPECT_EQ(F.SysLog.TextMatrix(rowOf("@sys Time synchronised"), R::RowTag), "");
    EXPECT_EQ(F.syslog.NotInSbLogs, 0);
    EXPECT_FALSE(F.BSaveHilited.Enabled);
    EXPECT_TRUE(F.BRun.Enabled);
}

}  // namespace
