#include <gtest/gtest.h>

#include "SysLogRows.h"
#include "TestForm.h"
#include "form/SysLogRecord.h"
#include "syslog/SysLogFinish.h"
#include "ui/PopupMenus.h"
#include "ui/SortBy.h"
#include "ui/SysLogFilter.h"

namespace {

using R = SysLogRecord;
using Texts = std::vector<std::string>;

struct SortByTest : ::testing::Test {
    TestForm t;
    MainForm& F = t.F();

    void SetUp() override {
        FillSysLogRows(F.SysLog,
                       {
                           {"2024-03-01", "10:00:00", "I", "tcp", "10.0.0.10", "", "10", "", "", "", "", "1"},
                           {"2024-03-02", "09:00:00", "I", "udp", "10.0.0.9", "", "9", "", "", "", "R", "2"},
                           {"2024-03-01", "11:00:00", "O", "tcp", "10.0.0.9", "", "100", "", "", "", "", "3"},
                           {"2024-03-01", "10:00:00", "M", "", "", "", "", "", "", "Log on", "", "4"},
                       });
        F.SysLog.SetTopRow(3);
        F.BSaveHilited.Enabled = false;  // no record waits for the Stillbeacon logs
    }
    void HeaderClick(int col) { SysLog_MouseUp(F, GridPoint{MouseButton::Left, 0, col, 100, 60}); }
};

TEST(SortOrder, HeaderClicksTurnTheOrderRoundAndOtherRequestsPickTheColumnsOrder) {
    // A new column: Date and Time newest first, the rest ascending; ports by number.
    EXPECT_EQ(ChooseSortOrder(R::Date, 0, -1, 0), TextDescending);
    EXPECT_EQ(ChooseSortOrder(R::Time, 0, R::Date, TextDescending), TextDescending);
    EXPECT_EQ(ChooseSortOrder(R::Prot, 0, R::Date, TextDescending), TextAscending);
    EXPECT_EQ(ChooseSortOrder(R::RPort, 0, R::Date, TextAscending), NumericAscending);
    // The same column again turns round, either way.
    EXPECT_EQ(ChooseSortOrder(R::Date, 0, R::Date, TextDescending), TextAscending);
    EXPECT_EQ(ChooseSortOrder(R::LPort, 0, R::LPort, NumericAscending), NumericDescending);
    // Asked outright: the column's own kind of order, up or down; anything else its base order.
    EXPECT_EQ(ChooseSortOrder(R::RPort, TextDescending, -1, 0), NumericDescending);
    EXPECT_EQ(ChooseSortOrder(R::Message, NumericAscending, -1, 0), TextAscending);
    EXPECT_EQ(ChooseSortOrder(R::SortKey, 9, -1, 0), TextAscending);
}

TEST_F(SortByTest, DateSortsNewestFirstThenOldestFirstWithTheTime) {
    HeaderClick(R::Date);
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (Texts{"2", "3", "1", "4"}));
    EXPECT_EQ(F.SysLog.TopRow(), 1);
    EXPECT_EQ(F.SysLog.Row(), 0);
    EXPECT_EQ(F.SysLog.Col(), R::Date);
    HeaderClick(R::Date);
    // Equal date and time (rows 1 and 4) keep the order they had.
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (Texts{"1", "4", "3", "2"}));
}

TEST_F(SortByTest, PortsAndAddressesSortByNumber) {
    HeaderClick(R::RPort);
    EXPECT_EQ(ColumnOf(F.SysLog, R::RPort), (Texts{"", "9", "10", "100"}));
    HeaderClick(R::RemAddr);
    // 10.0.0.9 before 10.0.0.10; the two records of 10.0.0.9 by date and time; no address first.
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (Texts{"4", "3", "2", "1"}));
    EXPECT_EQ(ColumnOf(F.SysLog, R::RemAddr), (Texts{"", "10.0.0.9", "10.0.0.9", "10.0.0.10"}));
    HeaderClick(R::RemAddr);
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (Texts{"1", "2", "3", "4"}));
}

TEST_F(SortByTest, RowsMoveWithTheirColoursTagsAndKeys) {
    F.SysLog.PaintRow(2, FlagColour);
    HeaderClick(R::RemAddr);
    const Texts keys = ColumnOf(F.SysLog, R::SortKey);
    const int moved = static_cast<int>(std::find(keys.begin(), keys.end(), "2") - keys.begin()) + 1;
    ASSERT_NE(moved, 2);
    EXPECT_EQ(F.SysLog.TextMatrix(moved, R::RowTag), "R");
    EXPECT_EQ(F.SysLog.CellBackColorAt(moved, R::Message), FlagColour);
    for (int r = 1; r < F.SysLog.Rows(); ++r) {
        if (r != moved) {
            EXPECT_EQ(F.SysLog.CellBackColorAt(r, R::Date), White);
        }
    }
}

TEST_F(SortByTest, NothingMovesWhileRecordsWaitForTheStillbeaconLogs) {
    F.BSaveHilited.Enabled = true;
    HeaderClick(R::Date);
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (Texts{"1", "2", "3", "4"}));
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text,
              "You can't change the record sequence while records are waiting to be added to the SB logs.");
    EXPECT_EQ(F.SysLog.TopRow(), 3);
    // A list without records has nothing to sort.
    F.BSaveHilited.Enabled = false;
    F.SysLog.SetRows(1);
    SortBy(F, R::Date, 0);
    EXPECT_EQ(F.display.SortColumn, -1);
}

// As a refresh leaves it: newest first, a day separator between the two days (keys in the order
// the rows were built, oldest first); the router logged its last message with a time from before
// its clock was set.
struct DaysListTest : ::testing::Test {
    TestForm t;
    MainForm& F = t.F();
    void SetUp() override {
        FillRouterRows(F.SysLog,
                       {
                           {"2024-03-02", "00:00:12", "M", "", "", "", "", "", "", "@sys Clock", "", "5"},
                           {"2024-03-02", "09:00:00", "I", "udp", "10.0.0.9", "", "", "", "", "", "", "4"},
                           {"", "", "", "", "", "", "", "", "", "", "", "3"},
                           {"2024-03-01", "11:00:00", "O", "tcp", "10.0.0.7", "", "", "", "", "", "", "2"},
                           {"2024-03-01", "10:00:00", "I", "UDP", "10.0.0.8", "", "", "", "", "", "", "1"},
                       });
        const char* captions[] = {"Date",       "Time",   "Dir",        "Prot",   "Rem IP Addr",
                                  "Remote URL", "R Port", "Local Addr", "L Port", "Message"};
        for (int c = 0; c <= R::Message; ++c) F.SysLog.SetTextMatrix(0, c, captions[c]);
        F.SysLog.SetColWidth(R::RowTag, 0);
        F.SysLog.SetColWidth(R::SortKey, 0);
        F.SysLog.SetRowHeight(3, SeparatorRowHeight);
        F.SysLog.SetCellBackColorAt(3, R::Date, DayChangeColour);
        F.display.SortColumn = R::Date;
        F.display.SortOrder = TextDescending;
    }
    std::vector<int> Heights() const {
        std::vector<int> h;
        for (int row = 1; row < F.SysLog.Rows(); ++row) h.push_back(F.SysLog.RowHeight(row));
        return h;
    }
    static constexpr int kRecord = RecordGrid::DefaultRowHeight, kSeparator = SeparatorRowHeight;
};

TEST_F(DaysListTest, DaySeparatorsStayBetweenTheirDaysAndHideInOtherOrders) {
    SortBy(F, R::Date, 0);  // oldest first
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (Texts{"1", "2", "3", "5", "4"}));
    EXPECT_EQ(Heights(), (std::vector<int>{kRecord, kRecord, kSeparator, kRecord, kRecord}));
    SortBy(F, R::Prot, 0);
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (Texts{"5", "2", "1", "4", "3"}))
        << "the separator last, hidden";
    EXPECT_EQ(Heights().back(), 0);
    SortBy(F, R::Date, 0);  // newest first again
    EXPECT_EQ(ColumnOf(F.SysLog, R::SortKey), (Texts{"4", "5", "3", "2", "1"}));
    EXPECT_EQ(Heights(), (std::vector<int>{kRecord, kRecord, kSeparator, kRecord, kRecord}));
}

TEST_F(DaysListTest, TheFilterListsMatchingRecordsAndCopyRowsTakesWhatIsListed) {
    F.SysFilter.Text = "udp";  // any letter case, any column
    SysFilter_Change(F);
    EXPECT_EQ(Heights(), (std::vector<int>{0, kRecord, 0, 0, kRecord}));
    SortBy(F, R::Date, 0);
    EXPECT_EQ(Heights(), (std::vector<int>{kRecord, 0, 0, 0, kRecord})) << "a sort keeps the filter";

    F.SysLog.SetColWidth(R::RemURL, 0);
    F.SysLog.SetTextMatrix(1, R::Message, "a\tb");
    EXPECT_EQ(ListedRowsText(F.SysLog),
              "Date\tTime\tDir\tProt\tRem IP Addr\tR Port\tLocal Addr\tL Port\tMessage\r\n"
              "2024-03-01\t10:00:00\tI\tUDP\t10.0.0.8\t\t\t\ta b\r\n"
              "2024-03-02\t09:00:00\tI\tudp\t10.0.0.9\t\t\t\t\r\n");

    SysFilter_Escape(F);
    EXPECT_EQ(F.SysFilter.Text, "");
    EXPECT_EQ(Heights(), (std::vector<int>{kRecord, kRecord, kSeparator, kRecord, kRecord}));
}

}  // namespace
