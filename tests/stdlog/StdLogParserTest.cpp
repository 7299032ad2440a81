#include <gtest/gtest.h>

#include "StdLogTestData.h"
#include "TestForm.h"
#include "stdlog/ConvertPorts.h"
#include "stdlog/CopyData.h"
#include "stdlog/StdLogParser.h"

namespace {

class StdLogParserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        F().InLog.Width = 6000;
        F().OutLog.Width = 8000;
        F().BSaveHilited.Top = 600;
        F().BSaveHilited.Height = 375;
        F().SysLog.Visible = true;
        F().SysStats.Visible = true;
        F().LNoLogs.Visible = true;
    }
    MainForm& F() { return t.F(); }
    TestForm t;
};

std::vector<std::string> Row(const RecordGrid& list, int r) {
    std::vector<std::string> cells;
    for (int c = 0; c < list.Cols(); ++c) cells.emplace_back(list.TextMatrix(r, c));
    return cells;
}

using Cells = std::vector<std::string>;

TEST_F(StdLogParserTest, FillsBothListsFromRouterTablesSizesTheColumnsAndAlignsTheCells) {
    ProcessStdLogPages(F(), StdLogTestData("incoming.html"), StdLogTestData("outgoing.html"));

    // Incoming: a row with one cell leaves the port empty, a third cell is ignored, and the
    // second table after "</table>" is never read.
    ASSERT_EQ(F().InLog.Rows(), 5);
    EXPECT_EQ(Row(F().InLog, 0), (Cells{"Date ", "Time ", "Remote Addr ", "Lcl Port "}));
    EXPECT_EQ(Row(F().InLog, 1), (Cells{"", "", "198.51.100.23", "80"}));
    EXPECT_EQ(Row(F().InLog, 2), (Cells{"", "", "203.0.113.150", "1433"}));
    EXPECT_EQ(Row(F().InLog, 3), (Cells{"", "", "198.51.100.77", ""}));
    EXPECT_EQ(Row(F().InLog, 4), (Cells{"", "", "203.0.113.9", "135"}));
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log  (4 entries)");

    // Outgoing: service names become port numbers; other cells are only lower-cased.
    ASSERT_EQ(F().OutLog.Rows(), 6);
    EXPECT_EQ(Row(F().OutLog, 0), (Cells{"Date ", "Time ", "Local Addr ", "Remote URL/IP ", "Rem Port "}));
    EXPECT_EQ(Row(F().OutLog, 1), (Cells{"", "", "192.168.1.100", "www.example.com", "80 - http"}));
    EXPECT_EQ(Row(F().OutLog, 2), (Cells{"", "", "192.168.1.101", "198.51.100.161", "162 - snmp trap"}));
    EXPECT_EQ(Row(F().OutLog, 3), (Cells{"", "", "192.168.1.102", "203.0.113.40", "113"}));
    EXPECT_EQ(Row(F().OutLog, 4), (Cells{"", "", "192.168.1.100", "mail.example.net", "7 - echo"}));
    EXPECT_EQ(Row(F().OutLog, 5), (Cells{"", "", "192.168.1.103", "203.0.113.80", " ftp "}));
    EXPECT_EQ(F().OutCaption.Caption, "Outgoing log (5 entries)");

    EXPECT_TRUE(F().InLog.Visible && F().OutLog.Visible && F().InCaption.Visible && F().OutCaption.Visible);
    EXPECT_FALSE(F().SysLog.Visible || F().SysStats.Visible || F().LNoLogs.Visible);
    EXPECT_TRUE(F().InLog.Redraw() && F().OutLog.Redraw());
    EXPECT_FALSE(F().TProgress.Visible);
    EXPECT_TRUE(t.frontend.messages.empty());

    // Columns are sized from sample texts; the test frontend measures 105 twips per character.
    // The stamp columns show a whole stamp (the comparison writes yyyy/mm/dd and hh:mm:ss).
    for (const RecordGrid* list : {&F().InLog, &F().OutLog}) {
        EXPECT_GT(list->ColWidth(0), t.frontend.TextWidth("2024/12/31"));
        EXPECT_GT(list->ColWidth(1), t.frontend.TextWidth("23:59:59"));
    }
    const int stamps = F().InLog.ColWidth(0) + F().InLog.ColWidth(1);
    EXPECT_EQ(F().InLog.ColWidth(3), 10 * 105);
    EXPECT_EQ(F().InLog.ColWidth(2), 6000 - 1050 - stamps - 312);
    EXPECT_EQ(F().OutLog.ColWidth(2), 14 * 105);
    EXPECT_EQ(F().OutLog.ColWidth(4), 11 * 105);
    EXPECT_EQ(F().OutLog.ColWidth(3), 8000 - 1470 - 1155 - stamps - 312);

    EXPECT_EQ(F().InLog.ColAlignment(1), RecordGrid::Alignment::Left);
    EXPECT_EQ(F().InLog.CellAlignmentAt(0, 2), RecordGrid::Alignment::Center);
    EXPECT_EQ(F().InLog.CellAlignmentAt(1, 2), RecordGrid::Alignment::Left);
    EXPECT_EQ(F().InLog.CellAlignmentAt(1, 3), RecordGrid::Alignment::Right);
    EXPECT_EQ(F().OutLog.CellAlignmentAt(1, 3), RecordGrid::Alignment::Left);
    EXPECT_EQ(F().OutLog.CellAlignmentAt(1, 4), RecordGrid::Alignment::Right);

    // A list without width still shows its address column.
    F().InLog.Width = 0;
    ProcessStdLogPages(F(), StdLogTestData("incoming.html"), StdLogTestData("outgoing.html"));
    EXPECT_EQ(F().InLog.ColWidth(2), 15 * 105);  // "000.000.000.000"
}

TEST_F(StdLogParserTest, WidthsTheUserSetOutliveARefresh) {
    F().display.InLogWidths[0] = 2000;
    F().display.OutLogWidths[3] = 900;
    ProcessStdLogPages(F(), StdLogTestData("incoming.html"), StdLogTestData("outgoing.html"));
    EXPECT_EQ(F().InLog.ColWidth(0), 2000);
    EXPECT_EQ(F().OutLog.ColWidth(3), 900) << "the address column too, once the user set it";
}

TEST_F(StdLogParserTest, TableWithTitleButNoRowsIsEmptyWhileTheOtherIsFilled) {
    const std::string noRows =
        "<table><tr><th>Source IP</th><th>Destination Port Number</th></tr></table>"
        "<tr bgcolor=cccccc align=middle>no cell here</table>";
    ProcessStdLogPages(F(), noRows, StdLogTestData("outgoing.html"));
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log (empty)");
    EXPECT_EQ(F().InLog.Rows(), 1);
    EXPECT_EQ(F().OutCaption.Caption, "Outgoing log (5 entries)");

    ProcessStdLogPages(F(), StdLogTestData("incoming.html"), "<b>Service/Port Number</b></table>");
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log  (4 entries)");
    EXPECT_EQ(F().OutCaption.Caption, "Outgoing log (empty)");
    EXPECT_EQ(F().OutLog.Rows(), 1);
}

TEST_F(StdLogParserTest, BothTablesEmptyShowsNoticeAndDropsEarlierRecords) {
    ProcessStdLogPages(F(), StdLogTestData("incoming.html"), StdLogTestData("outgoing.html"));
    ProcessStdLogPages(F(), "<p>Destination Port Number</p></table>", "<p>Service/Port Number</p></table>");
    EXPECT_TRUE(F().LNoLogs.Visible);
    EXPECT_EQ(F().LNoLogs.Caption, "Logs are empty or unavailable");
    EXPECT_EQ(F().LNoLogs.Top, 600 + 375 + 120);
    EXPECT_FALSE(F().InLog.Visible || F().OutLog.Visible || F().InCaption.Visible || F().OutCaption.Visible);
    // Nothing of the previous refresh is left for "Save All" to write again.
    EXPECT_FALSE(F().InLog.HasRecords());
    EXPECT_FALSE(F().OutLog.HasRecords());
}

TEST_F(StdLogParserTest, UnreachableRouterOrRefusedPasswordIsReportedAndCancelsAutoMode) {
    ProcessStdLogPages(F(), StdLogTestData("incoming.html"), StdLogTestData("outgoing.html"));
    F().AutoMode = true;
    ProcessStdLogPages(F(), "", StdLogTestData("outgoing.html"));
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text, "Can't contact the Router at " + F().IPAddr.Text);
    EXPECT_EQ(t.frontend.messages[0].buttons, MsgButtons::OK);
    EXPECT_FALSE(F().AutoMode);
    EXPECT_TRUE(t.frontend.windowShown);
    EXPECT_EQ(F().InLog.Rows(), 5) << "a failed fetch leaves the lists as they are";

    const std::string refused = "<html><body><h1>401 Authorization Required</h1></body></html>";
    ProcessStdLogPages(F(), refused, StdLogTestData("outgoing.html"));
    ASSERT_EQ(t.frontend.messages.size(), 2u);
    EXPECT_EQ(
        t.frontend.messages[1].text.rfind(
            "Missing or invalid Password: the Router at " + F().IPAddr.Text + " refused the logon ID", 0),
        0u);
}

TEST(CopyDataTest, MalformedRowsLeaveCellsEmptyAndNothingIsReadPastTheTable) {
    TestForm t;
    RecordGrid list;
    list.SetCols(5);
    list.SetRows(1);
    const std::string page =
        "<tr bgcolor=cccccc align=middle><td>a1<td>a2</td><td>a3</td></tr>"
        "<tr bgcolor=cccccc align=middle><td><b>b1</b></td><td> b2 </td></tr>"
        "<tr bgcolor=cccccc align=middle><td>x1<td>x2</tr>"
        "<tr bgcolor=cccccc align=middle><td>c1</td></table><td>after</td>"
        "<tr bgcolor=cccccc align=middle><td>d1</td></tr>";
    CopyData(t.F(), list, 2, page);
    ASSERT_EQ(list.Rows(), 5);
    // Cells are taken raw, up to the next "</td>", inner tags and blanks included.
    EXPECT_EQ(list.TextMatrix(1, 2), "a1<td>a2");
    EXPECT_EQ(list.TextMatrix(1, 3), "a3");
    EXPECT_EQ(list.TextMatrix(2, 2), "<b>b1</b>");
    EXPECT_EQ(list.TextMatrix(2, 3), " b2 ");
    EXPECT_EQ(list.TextMatrix(2, 4), "");
    // Cells never closed stay empty; the row is still added.
    EXPECT_EQ(Row(list, 3), (Cells{"", "", "", "", ""}));
    EXPECT_EQ(list.TextMatrix(4, 2), "c1");
    EXPECT_EQ(list.TextMatrix(4, 3), "") << "a cell after </table> is not part of the last row";
    EXPECT_GE(t.frontend.doEventsCalls, 1);  // window events run while the rows are copied

    // A page without the row marker or the table's end adds nothing.
    CopyData(t.F(), list, 2, "<td>1.2.3.4</td></table>");
    CopyData(t.F(), list, 2, "<tr bgcolor=cccccc align=middle><td>1.2.3.4</td>");
    EXPECT_EQ(list.Rows(), 5);
}

TEST(ConvertPortsTest, KnownServicesGetTheirPortOthersAreLowerCased) {
    RecordGrid list;
    list.SetCols(5);
    list.SetRows(1);
    // The table test covers the usual names; here the letter case and bytes beyond ASCII.
    const std::vector<std::pair<std::string, std::string>> cases = {{"SNMP Trap", "162 - snmp trap"},
                                                                    {"Finger", "79 - finger"},
                                                                    {"https", "https"},
                                                                    {"\xC9"
                                                                     "CHO",
                                                                     "\xE9"
                                                                     "cho"}};
    for (const auto& [cell, expected] : cases) {
        const int r = list.Rows();
        list.SetRows(r + 1);
        list.SetTextMatrix(r, 4, cell);
    }
    list.SetTextMatrix(0, 4, "Rem Port ");
    ConvertPorts(list, 4);
    EXPECT_EQ(list.TextMatrix(0, 4), "Rem Port ") << "the header is not a record";
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(list.TextMatrix(static_cast<int>(i) + 1, 4), cases[i].second) << cases[i].first;
}

}  // namespace
