#include <gtest/gtest.h>

#include <functional>

#include "SysLogRows.h"
#include "TestForm.h"
#include "ui/Layout.h"
#include "ui/ListMouse.h"

namespace {

TEST(ListMouse, WheelScrollsThreeRowsWithinTheRecords) {
    TestForm t;
    MainForm& F = t.F();
    FillSysLogRows(F.SysLog, std::vector<std::vector<std::string>>(7, {"2024-03-01"}));
    F.SysLog.SetTopRow(1);
    MouseWheel(F, -120);
    EXPECT_EQ(F.SysLog.TopRow(), 4);
    MouseWheel(F, -120);
    MouseWheel(F, -120);
    EXPECT_EQ(F.SysLog.TopRow(), 7) << "not past the last row";
    MouseWheel(F, 120);
    MouseWheel(F, 120);
    MouseWheel(F, 120);
    EXPECT_EQ(F.SysLog.TopRow(), 1) << "not above the first record";

    // Rows a filter hides take no step.
    for (int row : {2, 3}) F.SysLog.SetRowHeight(row, 0);
    MouseWheel(F, -120);
    EXPECT_EQ(F.SysLog.TopRow(), 6);
    MouseWheel(F, 120);
    EXPECT_EQ(F.SysLog.TopRow(), 1);
}

TEST(ListMouse, ToolTipsShowWideCellsAndLookupAnswersGoWhenTheMouseMovesOn) {
    TestForm t;
    MainForm& F = t.F();
    FillSysLogRows(F.SysLog, {{"2024-03-01", "", "", "", "", "", "", "", "", "a long message text"}});
    F.SysLog.SetColWidth(0, 105 * 10);
    F.SysLog.SetColWidth(9, 105 * 5);
    SysLog_MouseMove(F, GridPoint{MouseButton::None, 1, 9, 0, 0});
    EXPECT_EQ(F.SysLog.ToolTipText, "a long message text");
    SysLog_MouseMove(F, GridPoint{MouseButton::None, 1, 0, 0, 0});
    EXPECT_EQ(F.SysLog.ToolTipText, "") << "the date fits its column";

    // The answer stays while the mouse rests on the cell it first moves over, and goes on a move
    // to another cell, a click, a wheel turn or a new window size.
    const auto answerShown = [&F] {
        F.display.LookupList = nullptr;
        F.LLookup.Visible = true;
    };
    answerShown();
    SysLog_MouseMove(F, GridPoint{MouseButton::None, 1, 4, 1000, 200});
    SysLog_MouseMove(F, GridPoint{MouseButton::None, 1, 4, 1100, 210});
    EXPECT_TRUE(F.LLookup.Visible);
    SysLog_MouseMove(F, GridPoint{MouseButton::None, 1, 5, 3000, 210});
    EXPECT_FALSE(F.LLookup.Visible);
    for (const auto& away : std::vector<std::function<void()>>{
             [&F] { Form_MouseDown(F); }, [&F] { MouseWheel(F, 120); }, [&F] { Form_Resize(F); }}) {
        answerShown();
        away();
        EXPECT_FALSE(F.LLookup.Visible);
    }

    SysStats_MouseMove(F, GridPoint{MouseButton::None, 1, 3, 0, 0});
    EXPECT_EQ(F.SysStats.ToolTipText, "# of events not yet in SB logs");
}

}  // namespace
