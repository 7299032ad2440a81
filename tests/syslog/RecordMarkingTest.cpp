#include <gtest/gtest.h>

#include "SysLogRows.h"
#include "TestForm.h"
#include "form/SysLogRecord.h"
#include "syslog/RecordMarking.h"
#include "syslog/SysLogLists.h"

namespace {

using R = SysLogRecord;
using Rows = std::vector<int>;

struct RecordMarkingTest : ::testing::Test {
    TestForm t;
    MainForm& F = t.F();

    void SetUp() override {
        FillSysLogRows(
            F.SysLog,
            {
                {"2024-03-01", "10:00:00", "I", "tcp", "203.0.113.9", "", "80"},                    // 1
                {"2024-03-01", "10:00:01", "O", "tcp", "203.0.113.9", "a.example", "443"},          // 2
                {"2024-03-01", "10:00:02", "I", "tcp", "198.51.100.7", "a.example", "22"},          // 3
                {"2024-03-01", "10:00:03", "I", "tcp", "198.51.100.8", "", "23"},                   // 4
                {},                                                                                 // 5
                {"2024-03-01", "10:00:04", "M", "", "", "", "", "", "", "DHCP: renewed"},           // 6
                {"2024-03-01", "10:00:05", "M", "", "", "", "", "", "", "DHCP: lease lost"},        // 7
                {"2024-03-01", "10:00:06", "M", "", "", "", "", "", "", "DHCPX started"},           // 8
                {"2024-03-01", "10:00:07", "I", "tcp", "198.51.100.9", "", "25", "", "", "", "N"},  // 9
            });
        F.SysStats.SetCols(SysStatsColumns);
        F.SysStats.SetRows(2);
        F.SysStats.SetTextMatrix(1, 3, "0");
        F.SysLog.SetRow(1);
        F.SysLog.SetCol(R::RemAddr);
    }
    std::string Count() const { return std::string(F.SysStats.TextMatrix(1, 3)); }
    Rows Marked() const {
        Rows rows;
        for (int r = 1; r < F.SysLog.Rows(); ++r)
            if (F.SysLog.TextMatrix(r, R::RowTag) == "R") rows.push_back(r);
        return rows;
    }
    void At(int row) { F.SysLog.SetRow(row); }
};

TEST_F(RecordMarkingTest, OneRecordIsMarkedOnceAndUnmarkingTheLastDisablesTheUpdate) {
    SysMark(F, MarkThis);
    SysMark(F, MarkThis);
    EXPECT_EQ(Count(), "1");
    EXPECT_TRUE(F.BSaveHilited.Enabled);
    EXPECT_EQ(F.SysLog.CellBackColorAt(1, R::Date), FlagColour);
    EXPECT_EQ(F.SysLog.CellBackColorAt(1, R::Dir), White) << "Dir keeps its own colour";
    EXPECT_EQ(F.SysStats.CellBackColorAt(1, 3), FlagColour);
    EXPECT_EQ(F.SysLog.Row(), 1);
    EXPECT_EQ(F.SysLog.Col(), R::RemAddr);

    SysMark(F, UnmarkThis);
    SysMark(F, UnmarkThis);
    EXPECT_EQ(Count(), "0");
    EXPECT_FALSE(F.BSaveHilited.Enabled);
    EXPECT_EQ(F.SysLog.CellBackColorAt(1, R::Date), White);

    // A record the "don't log" lists hide was never counted: unmarking it takes nothing off.
    At(9);
    SysMark(F, UnmarkThis);
    EXPECT_EQ(Count(), "0");
    EXPECT_EQ(F.SysLog.TextMatrix(9, R::RowTag), "N");
    SysMark(F, MarkThis);
    EXPECT_EQ(Count(), "1");
}

TEST_F(RecordMarkingTest, SimilarRecordsShareTheRemoteAddressOrName) {
    // The address of row 1 brings row 2 (another name); row 2's name brings row 3 (another address).
    EXPECT_EQ(SimilarRows(F.SysLog, 1), (Rows{1, 2}));
    EXPECT_EQ(SimilarRows(F.SysLog, 2), (Rows{1, 2, 3}));
    // An empty name is no likeness: row 4 is like itself alone, and no message is like it.
    EXPECT_EQ(SimilarRows(F.SysLog, 4), (Rows{4}));
    EXPECT_EQ(SimilarRows(F.SysLog, 5), Rows{}) << "a separator is no record";

    At(2);
    SysMark(F, MarkAllSimilar);
    EXPECT_EQ(Marked(), (Rows{1, 2, 3}));
    EXPECT_EQ(Count(), "3");
    At(1);
    SysMark(F, UnmarkAllSimilar);
    EXPECT_EQ(Marked(), (Rows{3}));
    EXPECT_EQ(Count(), "1");
    EXPECT_TRUE(F.BSaveHilited.Enabled);
}

TEST_F(RecordMarkingTest, SimilarMessagesStartWithTheSameWordAndColon) {
    EXPECT_EQ(SimilarRows(F.SysLog, 6), (Rows{6, 7}));
    EXPECT_EQ(SimilarRows(F.SysLog, 8), (Rows{8})) << "no colon: the whole message is the key";
    At(7);
    SysMark(F, MarkAllSimilar);
    EXPECT_EQ(Marked(), (Rows{6, 7}));
    EXPECT_EQ(Count(), "2");
}

// What marking changes, the statistics row and the caption say alike; a record's own warning colour
// (and its myNetWatchman colour) outlive a mark and an unmark.
TEST_F(RecordMarkingTest, CaptionAndStatisticsAgreeAndWarningsKeepTheirColour) {
    F.SysLog.SetTextMatrix(3, R::Message, "dropped");
    F.SysLog.SetCellBackColorAt(3, R::Message, WarnColour);
    F.SysLog.SetCellBackColorAt(3, R::RemAddr, MnwColour);
    At(2);
    SysMark(F, MarkAllSimilar);
    EXPECT_EQ(Marked(), (Rows{1, 2, 3}));
    EXPECT_EQ(Count(), "3");
    EXPECT_NE(F.SysCaption.Caption.find(" 3 not in SB logs)"), std::string::npos) << F.SysCaption.Caption;
    SysMark(F, UnmarkAllSimilar);
    EXPECT_EQ(Count(), "0");
    EXPECT_NE(F.SysCaption.Caption.find(" 0 not in SB logs)"), std::string::npos) << F.SysCaption.Caption;
    EXPECT_EQ(F.SysLog.CellBackColorAt(3, R::Message), WarnColour);
    EXPECT_EQ(F.SysLog.CellBackColorAt(3, R::RemAddr), MnwColour);
    EXPECT_EQ(F.SysLog.CellBackColorAt(3, R::Date), White);
}

}  // namespace
