#include <gtest/gtest.h>

#include "SysLogRows.h"
#include "TestForm.h"
#include "form/SysLogRecord.h"
#include "ui/PopupMenus.h"

namespace {

using R = SysLogRecord;

struct PopupMenusTest : ::testing::Test {
    TestForm t;
    MainForm& F = t.F();
    std::vector<RecordingFrontend::Popup>& popups = t.frontend.popups;

    void SetUp() override {
        FillSysLogRows(F.SysLog, {
                                     {"2024-03-01", "10:00:00", "I", "tcp", "203.0.113.9", "host.example(x)",
                                      "80", "192.168.1.2", "1025", "Blocked"},
                                     {"2024-03-01", "10:00:01", "I", "tcp", "?", "", "80"},
                                     {},
                                 });
        F.SysLog.Left = 1000;
        F.SysLog.Top = 2000;
    }
    void Click(MouseButton button, int row, int col) {
        SysLog_MouseUp(F, GridPoint{button, row, col, 500, 700});
    }
};

TEST_F(PopupMenusTest, OnlyAddressAndMessageCellsOfRecordsOpenTheMenu) {
    for (int col : {0, 1, 2, 3, 6, 7, 8}) Click(MouseButton::Right, 1, col);
    Click(MouseButton::Left, 2, R::RemAddr);   // "?"
    Click(MouseButton::Left, 2, R::RemURL);    // empty
    Click(MouseButton::Right, 3, R::RemAddr);  // a separator
    Click(MouseButton::Right, 0, R::RemAddr);  // the header sorts instead
    EXPECT_TRUE(popups.empty());

    Click(MouseButton::Right, 1, R::RemURL);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].menu.Name, "mpopsys");
    EXPECT_EQ(popups[0].x, 1000 + 500 - 72);
    EXPECT_EQ(popups[0].y, 2000 + 700 - 72);
    EXPECT_TRUE(popups[0].menu.Items[0].Visible) << "an address can be looked up";
    EXPECT_EQ(F.SysLog.Row(), 1);
    EXPECT_EQ(F.SysLog.Col(), R::RemURL);

    Click(MouseButton::Middle, 1, R::Message);
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_FALSE(popups[1].menu.Items[0].Visible) << "a message cannot";
}

TEST_F(PopupMenusTest, CopyPutsTheClickedCellOnTheClipboard) {
    t.frontend.popupChoices = {"mpopSysCopy", "mpopSysCopy"};
    Click(MouseButton::Left, 1, R::RemURL);
    EXPECT_EQ(t.frontend.clipboard, "host.example");
    Click(MouseButton::Right, 1, R::RemAddr);
    EXPECT_EQ(t.frontend.clipboard, "203.0.113.9");
}

TEST_F(PopupMenusTest, StandardListsOpenTheirMenuOnRecordsOnly) {
    F.InLog.SetCols(4);
    F.InLog.SetRows(3);
    F.InLog.SetTextMatrix(1, 2, "a.example(198.51.100.1)");
    F.InLog.SetRow(1);  // an earlier click left a record current
    InLog_MouseUp(F, GridPoint{MouseButton::Left, 0, 1, 10, 10});
    InLog_MouseUp(F, GridPoint{MouseButton::Left, -1, 1, 10, 900});  // below the last row
    EXPECT_TRUE(popups.empty());

    t.frontend.popupChoices = {"mpopInCopy"};
    InLog_MouseUp(F, GridPoint{MouseButton::Right, 1, 0, 10, 300});
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].menu.Caption, "Inbound");
    EXPECT_EQ(F.InLog.Col(), 2);
    EXPECT_EQ(t.frontend.clipboard, "a.example");

    F.OutLog.SetCols(5);
    F.OutLog.SetRows(2);
    F.OutLog.SetTextMatrix(1, 3, "b.example");
    t.frontend.popupChoices = {"mpopOutCopy"};
    OutLog_MouseUp(F, GridPoint{MouseButton::Left, 1, 4, 10, 300});
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[1].menu.Items[1].Caption, "&Copy Remote URL/IP to Clipboard");
    EXPECT_EQ(t.frontend.clipboard, "b.example");
}

}  // namespace
