#include "syslog/HistoryFiles.h"

#include <gtest/gtest.h>

#include "FailingFileCall.h"
#include "RouterSim.h"
#include "RouterSysLogForm.h"
#include "app/RunCycle.h"

namespace {

// Two days of router lines, the first of them perhaps in the history already.
const char* kDay5 = "2026-12-05 23:58:00 TCP from 198.51.100.23:4123 to 127.0.0.100:80\n";
const char* kDay6 =
    "2026-12-06 00:00:05 @sys System started\n"
    "2026-12-06 13:05:12 TCP from 127.0.0.103:2222 to 203.0.113.80:8080\n";

// A history file that cannot be read or appended to ends the refresh with a one-line message naming
// the step, the file, its folder and the system's reason: 10 reading the history, 20 opening or writing the
// first file appended to, 30 any later one. A file listed but gone meanwhile only ends the history.
TEST(HistoryFiles, AFileThatFailsEndsTheRefreshNamingTheStepAndTheFile) {
    const struct {
        FileCall call;
        int nth;
        const char* pathPart;
        int error;
        bool historyKept;  // day 5 is in the history already
        const char* message;
        const char* reason;  // the system's, after the file and its folder on the same line
    } cases[] = {
        {FileCall::Open, 1, "DXLog 2026-12-05", EACCES, true,
         "Error 5 in 'SysLogMain' at step 10, processing file: DXLog 2026-12-05.txt", "Permission denied"},
        {FileCall::Open, 1, "DXLog 2026-12-05", ENOENT, true, nullptr, nullptr},
        {FileCall::Open, 1, "DXLog 2026-12-05", EACCES, false,
         "Error 5 in 'SysLogMain' at step 20, processing file: DXLog 2026-12-05.txt", "Permission denied"},
        {FileCall::Write, 2, "", ENOSPC, false,
         "Error 2 in 'SysLogMain' at step 20, processing file: DXLog 2026-12-05.txt",
         "No space left on device"},
        {FileCall::Open, 1, "DXLog 2026-12-06", EACCES, false,
         "Error 5 in 'SysLogMain' at step 30, processing file: DXLog 2026-12-06.txt", "Permission denied"},
        {FileCall::Write, 4, "", ENOSPC, false,
         "Error 2 in 'SysLogMain' at step 30, processing file: DXLog 2026-12-06.txt",
         "No space left on device"},
    };
    for (const auto& c : cases) {
        RouterSim sim({}, SysLogRecords(std::string(kDay5) + kDay6));
        ASSERT_TRUE(sim.Started()) << sim.Error();
        RouterSysLogForm t(sim);
        MainForm& F = t.F();
        F.CompSB.Value = false;
        F.CSaveSysLog.Value = true;
        if (c.historyKept)
            WriteFileBytes(t.dir.file("DXLog 2026-12-05.txt"), "2026-12-05 23:00:00 earlier\r\n");
        {
            // The first write is the router clock's file, then one per history line.
            const FailingFileCall failing(c.call, c.nth, c.pathPart, c.error);
            BRun_Click(F);
        }
        const std::string what = c.message ? c.message : "a file gone meanwhile";
        if (!c.message) {
            EXPECT_TRUE(t.frontend.messages.empty()) << what;
            EXPECT_EQ(ReadFileBytes(t.dir.file("DXLog 2026-12-06.txt")),
                      "2026-12-06 00:00:05 @sys System started\r\n"
                      "2026-12-06 13:05:12 TCP from 127.0.0.103:2222 to 203.0.113.80:8080\r\n");
            continue;
        }
        ASSERT_EQ(t.frontend.messages.size(), 1u) << what;
        EXPECT_EQ(t.frontend.messages[0].text,
                  std::string(c.message) + " in folder " + F.SbLogDir + ": " + c.reason);
        EXPECT_EQ(t.frontend.messages[0].title, "Drovix Error");
        EXPECT_FALSE(F.Busy) << what;
    }
}

}  // namespace
