#include <gtest/gtest.h>

#include "RouterSysLogForm.h"
#include "app/ReplaceToday.h"
#include "app/RunCycle.h"

namespace {

// "Re-do Today" asks, then deletes the newest history file and refreshes, so the day is written again from
// the router's records; an older day is left alone, and nothing is deleted while a refresh runs.
TEST(ReplaceToday, WritesTheNewestHistoryFileAgain) {
    RouterSim sim({}, SysLogRecords("2026-12-05 23:58:00 TCP from 198.51.100.23:4123 to 127.0.0.100:80\n"
                                    "2026-12-06 09:00:00 @sys Time synchronised\n"));
    ASSERT_TRUE(sim.Started()) << sim.Error();
    RouterSysLogForm t(sim);
    MainForm& F = t.F();
    F.CSaveSysLog.Value = true;
    BRun_Click(F);
    ASSERT_TRUE(t.frontend.messages.empty()) << t.frontend.messages[0].text;
    const std::string day5 = ReadFileBytes(t.dir.file("DXLog 2026-12-05.txt"));
    const std::string day6 = ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt"));
    ASSERT_EQ(day6, "2026-12-06 09:00:00 @sys Time synchronised\r\n");
    WriteFileBytes(t.dir.file("DXLog 2026-12-06.txt"), day6 + "2026-12-06 13:00:00 not from the router\r\n");

    F.Busy = true;
    BReplaceToday_Click(F);
    F.Busy = false;
    EXPECT_NE(ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt")), day6);

    // It asks first, naming the file; No keeps it.
    F.OptionsFrame.Visible = true;
    t.frontend.answers = {MsgAnswer::No};
    BReplaceToday_Click(F);
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_NE(t.frontend.messages[0].text.find("\"DXLog 2026-12-06.txt\" in " + t.dir.path()),
              std::string::npos);
    EXPECT_NE(ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt")), day6);
    EXPECT_TRUE(F.OptionsFrame.Visible);

    BReplaceToday_Click(F);  // Yes
    ASSERT_EQ(t.frontend.messages.size(), 2u) << t.frontend.messages.back().text;
    EXPECT_FALSE(F.OptionsFrame.Visible);
    EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt")), day6);
    EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-05.txt")), day5);
}

}  // namespace
