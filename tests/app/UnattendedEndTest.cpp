#include <gtest/gtest.h>

#include "TestFiles.h"
#include "TestForm.h"
#include "app/CommandLine.h"
#include "app/DesktopNotification.h"
#include "app/LastRun.h"
#include "app/Settings.h"
#include "app/UnattendedEnd.h"

namespace {

// The end of an unattended run leaves its record for the status line and tells the desktop only
// when it merged records or failed; NOTIFY=0 silences it. Neither touches the exit status.
TEST(UnattendedEnd, RecordsTheRunAndNotifiesOnlyOfMergesAndFailures) {
    const struct {
        const char* what;
        int exitStatus;
        int merged;            // lines merged into "Log 2026-12-06.txt"
        const char* problem;   // the message the run showed
        const char* settings;  // Drovix.ini
        const char* summary;   // the record's SUMMARY
        const char* title;     // the notification's, nullptr for none
        const char* body;
    } cases[] = {
        {"nothing new", 0, 0, "", "", "Drovix: read no router log; merged 0 lines; exported 0 lines", nullptr,
         ""},
        {"merged", 0, 3, "", "",
         "Drovix: read no router log; merged 3 lines into Log 2026-12-06.txt (3); exported 0 lines",
         "Drovix merged 3 records into Stillbeacon's logs", "Log 2026-12-06.txt (3)"},
        {"failed", 1, 0, "Can't contact the Router at 10.0.0.1:\r\nconnection refused", "",
         "Can't contact the Router at 10.0.0.1:  connection refused", "Drovix: the unattended run failed",
         "Can't contact the Router at 10.0.0.1:  connection refused"},
        {"notifications off", 0, 3, "", "NOTIFY=0\r\n",
         "Drovix: read no router log; merged 3 lines into Log 2026-12-06.txt (3); exported 0 lines", nullptr,
         ""},
    };
    for (const auto& c : cases) {
        TestForm t;
        MainForm& F = t.F();
        WriteFileBytes(t.dir.file("Drovix.ini"), c.settings);
        IniRead(F);
        if (c.merged > 0) F.Summary.AddMerged("Log 2026-12-06.txt", c.merged);
        F.LastProblem = c.problem;
        std::vector<Notification> sent;
        EXPECT_EQ(FinishUnattendedRun(F, c.exitStatus,
                                      [&](const Notification& n) {
                                          sent.push_back(n);
                                          return true;
                                      }),
                  c.exitStatus)
            << c.what;
        EXPECT_EQ(ReadFileBytes(t.dir.file("DrovixLastRun.txt")),
                  "TIME=2026-12-06 14:30:00\r\nSTATUS=" + std::to_string(c.exitStatus) +
                      "\r\nSUMMARY=" + c.summary + "\r\n")
            << c.what;
        if (c.title == nullptr) {
            EXPECT_TRUE(sent.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(sent.size(), 1u) << c.what;
        EXPECT_EQ(sent[0].summary, c.title);
        EXPECT_EQ(sent[0].body, c.body);
    }
}

// The record is read back for the status line; a file that cannot be replaced changes nothing of
// the run's end.
TEST(UnattendedEnd, TheRecordReadsBackAndAnUnwritableOneIsNoFailure) {
    TestForm t;
    MainForm& F = t.F();
    F.Summary.NotSetUp = "no router address";
    EXPECT_EQ(FinishUnattendedRun(F, kExitNotSetUp, [](const Notification&) { return false; }),
              kExitNotSetUp);
    const auto run = ReadLastRun(F.ProgramDir);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->time, "2026-12-06 14:30:00");
    EXPECT_EQ(run->exitStatus, kExitNotSetUp);
    EXPECT_EQ(run->summary, "Drovix cannot run unattended: no router address");

    F.ProgramDir = t.dir.path() + "gone/";
    EXPECT_EQ(FinishUnattendedRun(F, kExitCompleted, [](const Notification&) { return false; }),
              kExitCompleted);
    EXPECT_FALSE(ReadLastRun(F.ProgramDir));
}

}  // namespace
