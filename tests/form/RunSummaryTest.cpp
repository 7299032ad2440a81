#include "form/RunSummary.h"

#include <gtest/gtest.h>

namespace {

TEST(RunSummary, LineSaysWhatTheRunReadAndWrote) {
    RunSummary nothing;
    EXPECT_EQ(FormatRunSummary(nothing), "Drovix: read no router log; merged 0 lines; exported 0 lines");

    RunSummary standard;
    standard.Read = RunSummary::Source::StandardLogs;
    standard.InListed = 5;
    standard.InFlagged = 2;
    standard.OutListed = 7;
    EXPECT_EQ(FormatRunSummary(standard),
              "Drovix: incoming 5 listed, 2 flagged; outgoing 7 listed, 0 flagged; merged 0 lines; exported "
              "0 lines");
    standard.NotCompared = "\"Compare with SB logs\" is off";
    EXPECT_EQ(FormatRunSummary(standard),
              "Drovix: incoming 5 listed; outgoing 7 listed; not compared: \"Compare with SB logs\" is off; "
              "merged 0 lines; exported 0 lines");

    // A day file merged twice in one run is named once, with both counts added.
    RunSummary sysLog;
    sysLog.Read = RunSummary::Source::SystemLog;
    sysLog.SysLogListed = 40;
    sysLog.SysLogFlagged = 6;
    sysLog.AddMerged("Log 2026-12-05.txt", 2);
    sysLog.AddMerged("Log 2026-12-06.txt", 3);
    sysLog.AddMerged("Log 2026-12-05.txt", 1);
    sysLog.Exported = 1;
    EXPECT_EQ(FormatRunSummary(sysLog),
              "Drovix: system log 40 listed, 6 flagged; merged 6 lines into Log 2026-12-05.txt (3), "
              "Log 2026-12-06.txt (3); exported 1 line");
}

}  // namespace
