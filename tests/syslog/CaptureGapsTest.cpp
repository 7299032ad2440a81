#include <gtest/gtest.h>

#include "FailingFileCall.h"
#include "RouterSim.h"
#include "RouterSysLogForm.h"
#include "app/RunCycle.h"
#include "form/Colours.h"
#include "form/SysLogRecord.h"

namespace {

using R = SysLogRecord;

std::string Lines(const std::vector<std::string>& lines, const char* end) {
    std::string text;
    for (const std::string& line : lines) text += line + end;
    return text;
}

// The rows' times and whether each came from the capture (its Dir cell painted), newest first.
std::vector<std::string> Listed(const RecordGrid& list) {
    std::vector<std::string> rows;
    for (int row = 1; row < list.Rows(); ++row) {
        if (list.TextMatrix(row, R::Date).empty()) continue;
        rows.push_back(std::string(list.TextMatrix(row, R::Time)) +
                       (list.CellBackColorAt(row, R::Dir) == CapturedColour ? " captured" : ""));
    }
    return rows;
}

const std::string kDay = "2026-12-06 ";
const std::string h1 = kDay + "10:00:00 TCP from 198.51.100.1:1 to 127.0.0.100:22";
const std::string c2 = kDay + "10:01:00 TCP from 198.51.100.2:2 to 127.0.0.100:22";
const std::string h3 = kDay + "10:02:00 TCP from 198.51.100.3:3 to 127.0.0.100:22";
const std::string c4 = kDay + "10:03:00 UDP from 198.51.100.4:4 to 127.0.0.100:53";
const std::string p6 = kDay + "10:05:00 TCP from 198.51.100.6:6 to 127.0.0.100:80 dropped";
const std::string p7 = kDay + "10:06:00 TCP from 198.51.100.7:7 to 127.0.0.100:80";
const std::string c8 = kDay + "10:07:00 TCP from 198.51.100.8:8 to 127.0.0.100:80";
const std::string p9 = kDay + "10:08:00 TCP from 198.51.100.9:9 to 127.0.0.100:80";

// The router's log wrapped: its pages hold only its newest lines. The receiver's capture has
// what they lost, its copies of lines stamped a second off or worded otherwise, and a line it
// received after the pages were read. A captured line older than the end of the history goes in
// its place, one newer after it; the pages' own lines and what the history holds are not added
// again, refresh after refresh; the line received after the pages waits for the next refresh.
TEST(CaptureGaps, TheCaptureFillsWhatThePagesLostOnceAndInTimeOrder) {
    RouterSim sim({}, SysLogRecords(Lines({p6, p7}, "\n")));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterSysLogForm t(sim);
    MainForm& F = t.F();
    F.CSaveSysLog.Value = true;
    F.ShowMessages[4].Value = true;
    const std::string history = t.dir.file("DXLog 2026-12-06.txt");
    const std::string capture = t.dir.file("DXCapture 2026-12-06.txt");
    WriteFileBytes(history, Lines({h1, h3}, "\r\n"));
    WriteFileBytes(capture, Lines({c2, kDay + "10:02:01 TCP from 198.51.100.3:3 to 127.0.0.100:22", c4,
                                   kDay + "10:05:01 TCP from 198.51.100.6:6 to 127.0.0.100:80 blocked",
                                   kDay + "10:05:59 TCP from 198.51.100.7:7 to 127.0.0.100:80", c8},
                                  "\r\n"));

    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(ReadFileBytes(history), Lines({h1, c2, h3, c4, p6, p7}, "\r\n"));
    EXPECT_EQ(Listed(F.SysLog), (std::vector<std::string>{"10:06:00", "10:05:00", "10:03:00 captured",
                                                           "10:02:00", "10:01:00 captured", "10:00:00"}));
    EXPECT_EQ(F.SysStats.TextMatrix(1, 11), "2");
    EXPECT_EQ(F.SysStats.CellBackColorAt(1, 11), CapturedColour);

    BRun_Click(F);
    EXPECT_EQ(ReadFileBytes(history), Lines({h1, c2, h3, c4, p6, p7}, "\r\n"));
    EXPECT_EQ(Listed(F.SysLog).size(), 6u);
    EXPECT_EQ(F.SysStats.TextMatrix(1, 11), "0");

    // The log wraps again: the line received after the pages is now among what they lost.
    sim.SetRecords(SysLogRecords(p9 + "\n"));
    WriteFileBytes(capture, ReadFileBytes(capture) + p9 + "\r\n");
    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    EXPECT_EQ(ReadFileBytes(history), Lines({h1, c2, h3, c4, p6, p7, c8, p9}, "\r\n"));
    EXPECT_EQ(Listed(F.SysLog).front() + "|" + Listed(F.SysLog)[1], "10:08:00|10:07:00 captured");
    EXPECT_EQ(F.SysStats.TextMatrix(1, 11), "1");
}

// Without history files the captured lines the pages lost are listed before the router's, at
// every refresh; a capture file that cannot be read is told (an unattended run's summary says it
// read in part), and the refresh lists the rest.
TEST(CaptureGaps, WithoutHistoryTheCaptureIsListedAndAnUnreadableOneIsTold) {
    RouterSim sim({}, SysLogRecords(p9 + "\n"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterSysLogForm t(sim);
    MainForm& F = t.F();
    WriteFileBytes(t.dir.file("DXCapture 2026-12-06.txt"), Lines({c8, p9}, "\r\n"));
    for (int refresh = 0; refresh < 2; ++refresh) {
        BRun_Click(F);
        ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
        EXPECT_EQ(Listed(F.SysLog), (std::vector<std::string>{"10:08:00", "10:07:00 captured"}));
    }

    const FailingFileCall unreadable(FileCall::Open, 1, "DXCapture");
    F.AutoMode = true;
    BRun_Click(F);
    EXPECT_EQ(F.Summary.ReadInPart, "a capture file could not be read");
    EXPECT_EQ(Listed(F.SysLog), std::vector<std::string>{"10:08:00"});
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_NE(t.frontend.messages[0].text.find("Could not read the syslog receiver's capture: DXCapture "
                                               "2026-12-06.txt ("),
              std::string::npos)
        << t.frontend.messages[0].text;
}

}  // namespace
