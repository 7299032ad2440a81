#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "capture/CaptureFiles.h"

namespace {

using Lines = std::vector<std::string>;

// Lines go to the file of their own day, a message's line breaks and NULs become blanks, a line
// that a crash cut short is ended before the next one, and the reader gives back whole lines.
TEST(CaptureFiles, AppendedLinesReadBackWholeAcrossDays) {
    TempFolder dir;
    const std::string day = dir.file("DXCapture 2026-12-06.txt");
    WriteFileBytes(day, "2026-12-06 23:59:58 before\r\n2026-12-06 23:59:59 cut sh");
    {
        CaptureAppender appender(dir.path());
        std::string error;
        for (const auto& [stamp, text] : std::vector<std::pair<std::string, std::string>>{
                 {"2026-12-06 23:59:59", std::string("two\r\nlines\0with a NUL\xA0\r\n", 24)},
                 {"2026-12-07 00:00:01", "next day"},
                 {"2026-12-06 23:59:59", "late"}}) {
            EXPECT_TRUE(appender.Append(CaptureLine(stamp, text), error)) << error;
        }
        EXPECT_FALSE(appender.Append("no stamp", error));
    }
    EXPECT_EQ(ReadFileBytes(day),
              "2026-12-06 23:59:58 before\r\n2026-12-06 23:59:59 cut sh\r\n"
              "2026-12-06 23:59:59 two  lines with a NUL\xA0\r\n2026-12-06 23:59:59 late\r\n");

    EXPECT_EQ(ReadCaptureDay(dir.path(), "2026-12-06"),
              (Lines{"2026-12-06 23:59:58 before", "2026-12-06 23:59:59 cut sh",
                     "2026-12-06 23:59:59 two  lines with a NUL\xA0", "2026-12-06 23:59:59 late"}));
    EXPECT_EQ(ReadCaptureDay(dir.path(), "2026-12-07"), (Lines{"2026-12-07 00:00:01 next day"}));
    EXPECT_EQ(ReadCaptureDay(dir.path(), "2026-12-08"), Lines{});
    // A line still being written (no end yet) is not read.
    EXPECT_EQ(CaptureLines("2026-12-06 10:00:00 a\r\n2026-12-06 10:00:01 b"), Lines{"2026-12-06 10:00:00 a"});
}

// A write the disk cannot take whole is reported and taken back: the file keeps whole lines
// only, and the next line, once there is room, starts a line of its own.
TEST(CaptureFiles, AFullDiskLeavesWholeLinesOnly) {
    TempFolder dir;
    CaptureAppender appender(dir.path());
    std::string error;
    {
        const FileSizeLimit limit(40);
        EXPECT_TRUE(appender.Append("2026-12-06 10:00:00 first...", error)) << error;
        EXPECT_FALSE(appender.Append("2026-12-06 10:00:01 second..", error));
        EXPECT_NE(error.find("disk full"), std::string::npos) << error;
    }
    EXPECT_TRUE(appender.Append("2026-12-06 10:00:02 third", error)) << error;
    EXPECT_EQ(ReadFileBytes(dir.file("DXCapture 2026-12-06.txt")),
              "2026-12-06 10:00:00 first...\r\n2026-12-06 10:00:02 third\r\n");
}

}  // namespace
