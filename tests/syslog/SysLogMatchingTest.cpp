#include <gtest/gtest.h>

#include <QFile>
#include <limits>
#include <optional>
#include <random>

#include "FailingFileCall.h"
#include "SysLogRows.h"
#include "TestForm.h"
#include "form/Colours.h"
#include "form/SysLogRecord.h"
#include "syslog/DayFileMerge.h"
#include "syslog/MnwExport.h"
#include "syslog/RecordMarking.h"
#include "syslog/StampSeconds.h"
#include "syslog/SysLogLists.h"
#include "syslog/SysLogMatching.h"

namespace {

using R = SysLogRecord;

void FillSysLog(MainForm& F, const std::vector<std::vector<std::string>>& rows) {
    FillRouterRows(F.SysLog, rows);
    F.syslog.SysRowCount = F.SysLog.Rows() - 1;
}

SysLogRecord Rec(const std::string& date, const std::string& time, const std::string& dir,
                 const std::string& addr, const std::string& url, const std::string& rport,
                 const std::string& local, const std::string& lport) {
    SysLogRecord r;
    r[R::Date] = date;
    r[R::Time] = time;
    r[R::Dir] = dir;
    r[R::RemAddr] = addr;
    r[R::RemURL] = url;
    r[R::RPort] = rport;
    r[R::LocalAddr] = local;
    r[R::LPort] = lport;
    return r;
}

// The comparison rules, each tried where a wrong answer would merge a duplicate or lose a record.
TEST(SysLogCompare, TheSameEventWithinTheTolerance) {
    TestForm t;
    MainForm& F = t.F();
    auto fresh = [&] {
        FillSysLog(F,
                   {{"2026-12-06", "10:00:05", "P", "tcp", "198.51.100.7", "", "4123", "192.168.1.5", "80"},
                    {"2026-12-06", "10:00:00", "B", "udp", "198.51.100.8", "", "", "192.168.1.6", "53"}});
    };
    auto matched = [&](int row) { return F.SysLog.TextMatrix(row, R::RowTag).empty(); };

    fresh();
    const SysLogRecord in =
        Rec("2026/12/06", "10:00:02", "I", "198.51.100.7", "", "4123", "192.168.1.5(pc1)", "80");
    EXPECT_EQ(SysLogCompare(F.SysLog, 2, in, 2), 2);
    EXPECT_FALSE(matched(1));
    // 3 seconds apart, I = P, local up to "("; the next search starts at the oldest row in the window.
    EXPECT_EQ(SysLogCompare(F.SysLog, 2, in, 3), 1);
    EXPECT_TRUE(matched(1));

    fresh();
    EXPECT_EQ(
        SysLogCompare(F.SysLog, 2, Rec("2026/12/06", "10:00:00", "O", "198.51.100.8", "", "-", ".", "53"), 0),
        2);
    EXPECT_FALSE(matched(2));  // "." stands for an empty local address only when the row has none
    EXPECT_EQ(
        SysLogCompare(F.SysLog, 2,
                      Rec("2026/12/06", "10:00:00", "O", "198.51.100.8", "", "-", "192.168.1.6", "53"), 0),
        2);
    EXPECT_TRUE(matched(2));  // O = B, "-" for an empty remote port

    // Another computer of the network, or another remote party, is another event.
    fresh();
    SysLogCompare(F.SysLog, 2,
                  Rec("2026/12/06", "10:00:05", "I", "198.51.100.7", "", "4123", "192.168.1.9", "80"), 0);
    SysLogCompare(F.SysLog, 2, Rec("2026/12/06", "10:00:05", "I", "", "", "4123", "192.168.1.5", "80"), 0);
    EXPECT_FALSE(matched(1));
    // A row known only by name matches the record of that name and takes its address.
    F.SysLog.SetTextMatrix(1, R::RemAddr, "");
    F.SysLog.SetTextMatrix(1, R::RemURL, "scan.example.net");
    SysLogCompare(
        F.SysLog, 2,
        Rec("2026/12/06", "10:00:05", "I", "198.51.100.7", "scan.example.net", "4123", "192.168.1.5", "80"),
        0);
    EXPECT_TRUE(matched(1));
    EXPECT_EQ(F.SysLog.TextMatrix(1, R::RemAddr), "198.51.100.7");

    // Messages match on their text, Stillbeacon's NBSPs read as blanks.
    FillSysLog(F, {{"2026-12-06", "10:00:00", "M", "", "", "", "", "", "", "Router rebooted now"}});
    SysLogRecord m = Rec("2026/12/06", "10:00:00", "M", "", "", "", "", "");
    m[R::Message] = "Router\xA0rebooted\xA0now";
    SysLogCompare(F.SysLog, 1, m, 0);
    EXPECT_TRUE(matched(1));

    // A row the router gave without a date (dated afterwards) sits among later rows: still found.
    FillSysLog(F, {{"2026-12-06", "08:00:03", "M", "", "", "", "", "", "", "WAN up"},
                   {"2026-12-06", "00:00:12", "M", "", "", "", "", "", "", "Clock not set"},
                   {"2026-12-06", "07:58:40", "M", "", "", "", "", "", "", "System started"}});
    m[R::Time] = "00:00:12";
    m[R::Message] = "Clock\xA0not\xA0set";
    SysLogCompare(F.SysLog, 3, m, 0);
    EXPECT_TRUE(matched(2));
}

// Rows are looked up by time: of several in the window, the one nearest to p on its newer side is
// taken whatever their times' order; none beyond p; none for a negative tolerance; every one for
// a tolerance larger than any gap.
TEST(SysLogCompare, TakesTheCandidateAWalkFromPWouldMeetFirst) {
    TestForm t;
    MainForm& F = t.F();
    const SysLogRecord in =
        Rec("2026/12/06", "10:00:02", "I", "198.51.100.7", "", "4123", "192.168.1.5", "80");
    struct Case {
        int p;
        long long tolerance;
        int matchedRow;  // 0: none
    };
    for (const Case c :
         {Case{3, 2, 3}, Case{2, 2, 2}, Case{1, 2, 1}, Case{0, 2, 0}, Case{3, 0, 0}, Case{3, -1, 0},
          Case{3, 1, 3}, Case{2, 1, 2}, Case{3, std::numeric_limits<long long>::max(), 3}}) {
        FillSysLog(F,
                   {{"2026-12-06", "10:00:04", "P", "tcp", "198.51.100.7", "", "4123", "192.168.1.5", "80"},
                    {"2026-12-06", "10:00:01", "P", "tcp", "198.51.100.7", "", "4123", "192.168.1.5", "80"},
                    {"2026-12-06", "10:00:03", "P", "tcp", "198.51.100.7", "", "4123", "192.168.1.5", "80"}});
        SysLogCompare(F.SysLog, c.p, in, c.tolerance);
        for (int row = 1; row <= 3; ++row)
            EXPECT_EQ(F.SysLog.TextMatrix(row, R::RowTag), row == c.matchedRow ? "" : "R")
                << "p " << c.p << ", tolerance " << c.tolerance << ", row " << row;
    }
}

// The date and time reader as it was before it read the digits in place.
std::optional<long long> ReferenceStampSeconds(const std::string& date, const std::string& time) {
    const auto digits = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (date.size() != 10 || time.size() < 8) return std::nullopt;
    if (!digits(date.substr(0, 4)) || !digits(date.substr(5, 2)) || !digits(date.substr(8, 2)) ||
        !digits(time.substr(0, 2)) || time[2] != ':' || !digits(time.substr(3, 2)) || time[5] != ':' ||
        !digits(time.substr(6, 2)))
        return std::nullopt;
    const int y = std::stoi(date.substr(0, 4)), m = std::stoi(date.substr(5, 2)),
              d = std::stoi(date.substr(8, 2));
    if (m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    // Days from 1970-01-01, counted by the calendar's rules rather than by formula.
    long long days = 0;
    const auto leap = [](int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; };
    for (int year = 1970; year < y; ++year) days += leap(year) ? 366 : 365;
    for (int year = y; year < 1970; ++year) days -= leap(year) ? 366 : 365;
    static constexpr int MonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month < m; ++month) days += MonthDays[month - 1] + (month == 2 && leap(y));
    days += d - 1;
    return days * 86400 + std::stoi(time.substr(0, 2)) * 3600LL + std::stoi(time.substr(3, 2)) * 60LL +
           std::stoi(time.substr(6, 2));
}

TEST(StampSeconds, AgreesWithTheCalendarOnGeneratedStamps) {
    std::mt19937 random(7);
    const auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    const std::vector<std::string> years = {"1970", "2026", "2000", "1900", "0001", "9999", "20x6", "202"},
                                   months = {"01", "02", "03", "12", "00", "13", "1a", "09"},
                                   days = {"01", "28", "29", "31", "00", "32", "3 "},
                                   clocks = {"00", "23", "59", "99", "0x", "7"}, marks = {"-", "/", ":"},
                                   colons = {":", ":", ":", "."}, tails = {"", "", ".25", "x", " "};
    int stamps = 0;
    for (int n = 0; n < 50000; ++n) {
        const std::string date = pick(years) + pick(marks) + pick(months) + pick(marks) + pick(days);
        const std::string time =
            pick(clocks) + pick(colons) + pick(clocks) + pick(colons) + pick(clocks) + pick(tails);
        const auto expected = ReferenceStampSeconds(date, time);
        ASSERT_EQ(StampSeconds(date, time), expected) << date << " " << time;
        stamps += expected.has_value();
    }
    EXPECT_GT(stamps, 1000);
}

// The whole matching against day files: a missing first day does not stop the later days being
// read, unmatched rows are painted and counted, matched ones stay white.
TEST(SysLogMatch, ReadsTheDayFilesAndHighlightsWhatIsMissing) {
    TestForm t;
    MainForm& F = t.F();
    F.MaxTdiff.Text = "2";
    FillSysLog(F, {{"2026-12-06", "10:00:05", "I", "tcp", "198.51.100.7", "", "4123", "192.168.1.5", "80"},
                   {"2026-12-06", "09:00:00", "I", "tcp", "198.51.100.9", "", "4000", "192.168.1.5", "22"},
                   {},
                   {"2026-12-05", "23:00:00", "O", "udp", "198.51.100.53", "", "53", "192.168.1.6", "1030"}});
    F.SysLog.SetTextMatrix(2, R::RowTag, "N");
    WriteFileBytes(t.dir.file("Log 2026-12-06.txt"),
                   "2026/12/06 10:00:06.12 I 198.51.100.7\xA0TCP 4123 192.168.1.5 80\r\n");

    EXPECT_EQ(SysLogMatch(F), 1);
    EXPECT_TRUE(F.BSaveHilited.Enabled);
    EXPECT_EQ(F.SysLog.TextMatrix(1, R::RowTag), "");
    EXPECT_EQ(F.SysLog.CellBackColorAt(1, 0), White);
    EXPECT_EQ(F.SysLog.CellBackColorAt(4, 0), FlagColour);
    EXPECT_EQ(F.SysLog.CellBackColorAt(4, R::Dir), White);
    EXPECT_EQ(F.SysLog.CellBackColorAt(2, R::Message), IgnoreColour);

    // "Unlogged only" keeps the missing records alone.
    F.ShowMessages[5].Value = true;
    F.SysLog.SetTextMatrix(1, R::RowTag, "R");
    EXPECT_EQ(SysLogMatch(F), 1);
    ASSERT_EQ(F.SysLog.Rows(), 2);
    EXPECT_EQ(F.SysLog.TextMatrix(1, R::Time), "23:00:00");
}

// A file name that cannot be read, even by root (for whom permissions do not count): a link to a
// write-only kernel attribute.
bool MakeUnreadable(const std::string& path) {
    const QString name = QString::fromStdString(path);
    WriteFileBytes(path, "x\r\n");
    QFile::setPermissions(name, QFileDevice::WriteOwner);
    if (!QFile(name).open(QIODevice::ReadOnly)) return true;
    QFile::remove(name);
    return QFile::link("/sys/bus/pci/rescan", name) && !QFile(name).open(QIODevice::ReadOnly);
}

// A day file that cannot be read ends the matching with a message and nothing marked missing,
// so an unattended run merges nothing it cannot check, and a record then marked by hand is merged
// alone.
TEST(SysLogMatch, AnUnreadableDayFileMarksNothingMissing) {
    TestForm t;
    MainForm& F = t.F();
    F.AutoMode = true;
    FillSysLog(F, {{"2026-12-07", "10:00:05", "I", "tcp", "198.51.100.7", "", "4123", "192.168.1.5", "80"},
                   {"2026-12-06", "10:00:05", "I", "tcp", "198.51.100.8", "", "4123", "192.168.1.5", "80"}});
    ASSERT_TRUE(MakeUnreadable(t.dir.file("Log 2026-12-06.txt"))) << "no way to make a file unreadable here";
    EXPECT_EQ(SysLogMatch(F), 0);
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(
        t.frontend.messages[0].text.rfind("Error 5 in 'SysLogMatch' trying to open Log 2026-12-06.txt", 0),
        0u);
    EXPECT_FALSE(F.AutoMode);
    EXPECT_FALSE(F.BSaveHilited.Enabled && F.SysLog.CellBackColorAt(1, 0) == FlagColour);
    EXPECT_EQ(F.SysLog.CellBackColorAt(1, 0), White);

    F.SysStats.SetCols(SysStatsColumns);
    F.SysStats.SetRows(2);
    F.SysLog.SetRow(1);
    SysMark(F, MarkThis);
    SysLogSave(F, true);
    EXPECT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(ReadFileBytes(t.dir.file("Log 2026-12-07.txt")),
              "2026/12/07\t10:00:05\tI\ttcp\t198.51.100.7\t\t4123\t192.168.1.5\t80\r\n");
}

// A day file is read ahead of the comparison, on a thread of its own. Whatever stops the reading
// part-way (a read that fails, Exit) stops the comparison with nothing marked missing: a row whose
// line was still to come would be merged again as missing.
TEST(SysLogMatch, AComparisonStoppedPartWayMarksNothingMissing) {
    TestForm t;
    MainForm& F = t.F();
    F.MaxTdiff.Text = "2";
    FillSysLog(F, {{"2026-12-06", "23:59:00", "I", "tcp", "198.51.100.9", "", "4000", "192.168.1.5", "22"},
                   {"2026-12-06", "00:00:10", "I", "tcp", "198.51.100.7", "", "4123", "192.168.1.5", "80"}});
    // Several megabytes: the reading is many pieces ahead of the comparison when it is stopped.
    std::string day = "2026/12/06 00:00:10.12 I 198.51.100.7\xA0TCP 4123 192.168.1.5 80\r\n";
    for (int s = 11; s < 86340; ++s) {
        char line[96];
        std::snprintf(line, sizeof line,
                      "2026/12/06 %02d:%02d:%02d.50 O 203.0.113.5\xA0UDP 53 192.168.1.6 1030\r\n", s / 3600,
                      s / 60 % 60, s % 60);
        day += line;
    }
    day += "2026/12/06 23:59:00.40 I 198.51.100.9\xA0TCP 4000 192.168.1.5 22\r\n";
    WriteFileBytes(t.dir.file("Log 2026-12-06.txt"), day);
    const auto waiting = [&] {
        return std::vector<std::string>{std::string(F.SysLog.TextMatrix(1, R::RowTag)),
                                        std::string(F.SysLog.TextMatrix(2, R::RowTag))};
    };
    const std::vector<std::string> none{"", ""};

    {
        // The third piece of the file cannot be read: the two before it were compared, the rest
        // was not, and the person is told.
        FailingFileCall failedRead(FileCall::Read, 3);
        EXPECT_EQ(SysLogMatch(F), 0);
    }
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(
        t.frontend.messages[0].text.rfind("Error 1 in 'SysLogMatch' trying to open Log 2026-12-06.txt", 0),
        0u)
        << t.frontend.messages[0].text;
    EXPECT_EQ(waiting(), none);

    F.SysLog.SetTextMatrix(1, R::RowTag, "R");
    F.SysLog.SetTextMatrix(2, R::RowTag, "R");
    F.QuitRequested = true;
    EXPECT_EQ(SysLogMatch(F), 0);
    EXPECT_EQ(waiting(), none);

    // Read whole, the file has both.
    F.QuitRequested = false;
    F.SysLog.SetTextMatrix(1, R::RowTag, "R");
    F.SysLog.SetTextMatrix(2, R::RowTag, "R");
    EXPECT_EQ(SysLogMatch(F), 0);
    EXPECT_EQ(waiting(), none);
    F.SysLog.SetTextMatrix(1, R::RowTag, "R");
    F.SysLog.SetTextMatrix(1, R::RemAddr, "198.51.100.10");
    EXPECT_EQ(SysLogMatch(F), 1);
    EXPECT_EQ(waiting(), (std::vector<std::string>{"R", ""}));
}

// Five thousand missing records or more: counted and offered for merging, but not painted.
TEST(SysLogMatch, ManyMissingRecordsAreCountedNotPainted) {
    TestForm t;
    MainForm& F = t.F();
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back({"2026-12-06", "10:00:00", "I", "tcp", "198.51.100.7", "", std::to_string(i),
                        "192.168.1.5", "80"});
    FillSysLog(F, rows);
    EXPECT_EQ(SysLogMatch(F), 5000);
    EXPECT_TRUE(F.BSaveHilited.Enabled);
    EXPECT_EQ(F.SysLog.CellBackColorAt(1, 0), White);
    // Unpainted, they are still missing: the export chooses them all.
    F.CompSB.Value = true;
    F.SysStats.SetCols(SysStatsColumns);
    F.SysStats.SetRows(2);
    SysLogMNW(F);
    EXPECT_EQ(F.SysStats.TextMatrix(1, 9), "5000");
    F.SysLog.SetRows(5000);
    EXPECT_EQ(SysLogMatch(F), 4999);
    EXPECT_EQ(F.SysLog.CellBackColorAt(1, 0), FlagColour);
}

}  // namespace
