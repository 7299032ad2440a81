#include <gtest/gtest.h>

#include <map>

#include "FailingFileCall.h"
#include "StdLogTestData.h"
#include "TestForm.h"
#include "app/SaveCommands.h"
#include "sblog/StdLogLine.h"
#include "stdlog/SbLogWriter.h"

namespace {

class SbLogWriterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Pinned clock: 2026-12-06 14:30:00.
        FillList(F().InLog, 4,
                 {{"", "", "198.51.100.23", "80"},
                  {"2026/12/06", "14:00:00", "203.0.113.150", "1433"},
                  {"", "", "198.51.100.77", "21"}});
        F().InLog.PaintRow(1, FlagColour);
        F().InLog.PaintRow(3, FlagColour);
        FillList(F().OutLog, 5,
                 {{"", "", "192.168.1.100", "www.example.com", "80 - http"},
                  {"", "", "192.168.1.102", "203.0.113.40", "443"}});
        F().OutLog.PaintRow(1, FlagColour);
    }
    MainForm& F() { return t.F(); }
    std::string Saved(const std::string& name) { return ReadFileBytes(t.dir.file(name)); }
    TestForm t;
};

// "Save highlighted" writes the flagged rows, "Save all" every row, in Stillbeacon's format, and
// the status line says what was written where; a second save in the same minute keeps the first
// file; what was saved is no longer highlighted, so a second "Save highlighted" writes nothing.
TEST_F(SbLogWriterTest, SavesWriteStillbeaconsFormatOnceAndNeverOverwriteAnEarlierSave) {
    BSaveHilited_Click(F());
    EXPECT_EQ(F().status.LastSave,
              "14:30:00 Save highlighted: wrote 3 records to \"Log 2026-12-06 1430.txt\" in " + t.dir.path());
    EXPECT_EQ(F().InLog.CellBackColorAt(1, 0), White);
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log  (3 entries,  0 flagged)");
    BSaveAll_Click(F());
    BSaveAll_Click(F());
    EXPECT_EQ(Saved("Log 2026-12-06 1430.txt"), StdLogTestData("save_highlighted.txt"));
    EXPECT_EQ(Saved("Log 2026-12-06 1430_2.txt"), StdLogTestData("save_all.txt"));
    EXPECT_EQ(Saved("Log 2026-12-06 1430_3.txt"), StdLogTestData("save_all.txt"));
    EXPECT_EQ(F().stdlog.LastSavedFile, t.dir.file("Log 2026-12-06 1430_3.txt"));
    EXPECT_TRUE(t.frontend.messages.empty());

    t.clock.Set(QDateTime(QDate(2026, 12, 6), QTime(15, 5, 0)));
    BSaveHilited_Click(F());
    EXPECT_FALSE(FileExists(t.dir.file("Log 2026-12-06 1505.txt")));
    EXPECT_EQ(F().status.LastSave, "15:05:00 Save highlighted: nothing new to save, no file written");
    EXPECT_TRUE(t.frontend.messages.empty());
}

TEST_F(SbLogWriterTest, UndatedRowsBorrowTheTimeOfTheDatedRowBelow) {
    FillList(F().InLog, 4,
             {{"", "", "198.51.100.1", "1"},
              {"", "", "198.51.100.2", "2"},
              {"2005/01/31", "23:59:30.25", "198.51.100.3", "3"},
              {"", "", "198.51.100.4", "4"},
              {"", "", "198.51.100.5", "5"}});
    FillList(F().OutLog, 5, {});
    BSaveAll_Click(F());
    // Rows below the lowest dated row: its time minus 69.12 s; rows above: plus 60.48 s, all
    // the same, wrapping past midnight within the dated row's day.
    EXPECT_EQ(Saved("Log 2026-12-06 1430.txt"),
              CrLfLines({"2005/01/31 23:58:21.00 I 198.51.100.5 0 0.0.0.0 5",
                         "2005/01/31 23:58:21.00 I 198.51.100.4 0 0.0.0.0 4",
                         "2005/01/31 23:59:30.25 I 198.51.100.3 0 0.0.0.0 3",
                         "2005/01/31 00:00:30.00 I 198.51.100.2 0 0.0.0.0 2",
                         "2005/01/31 00:00:30.00 I 198.51.100.1 0 0.0.0.0 1"}));
}

TEST_F(SbLogWriterTest, EmptyListsWriteNothingAndSayWhyUnlessUnattended) {
    FillList(F().InLog, 4, {});
    FillList(F().OutLog, 5, {});
    F().AutoMode = true;
    BSaveAll_Click(F());
    EXPECT_TRUE(t.frontend.messages.empty());
    F().AutoMode = false;
    BSaveAll_Click(F());
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text, "The logs are empty");
    EXPECT_FALSE(FileExists(t.dir.file("Log 2026-12-06 1430.txt")));
}

// Nothing is written anywhere but in Stillbeacon's folder: not into a folder LOGDIR names that is
// not there, nor into Drovix's own folder when there are no Stillbeacon settings at all.
TEST_F(SbLogWriterTest, WithoutStillbeaconsFolderNothingIsSaved) {
    F().SbLogDir = t.dir.path() + "no such folder/";
    F().AutoMode = true;
    BSaveAll_Click(F());
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text, "Stillbeacon's log folder \"" + F().SbLogDir + "\" (LOGDIR in \"" +
                                               F().ProgramDir +
                                               "Stillbeacon.ini\") does not exist: nothing was saved.");
    EXPECT_EQ(t.frontend.messages[0].title, "Drovix Error");
    EXPECT_FALSE(F().AutoMode);

    F().SbLogDir = F().ProgramDir;
    F().SbSettingsFound = false;
    BSaveAll_Click(F());
    ASSERT_EQ(t.frontend.messages.size(), 2u);
    EXPECT_NE(t.frontend.messages[1].text.find("there is no such file"), std::string::npos);
    EXPECT_EQ(FilesIn(t.dir.path()), (std::map<std::string, std::string>{}));
}

// A file that cannot be created is named with its folder and the system's reason, on one line.
TEST_F(SbLogWriterTest, AFailedSaveNamesTheFileTheFolderAndTheReason) {
    {
        const FailingFileCall denied(FileCall::Link, 1, "Log 2026-12-06 1430.txt", EACCES);
        BSaveAll_Click(F());
    }
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text, "Error in 'SaveLogs' creating Log 2026-12-06 1430.txt in folder " +
                                               t.dir.path() + ": Permission denied");
    EXPECT_EQ(F().status.LastSave, "");
}

TEST_F(SbLogWriterTest, SystemLogModeLeavesTheStandardListsUnsaved) {
    F().SysLog.Visible = true;
    BSaveAll_Click(F());
    BSaveHilited_Click(F());
    EXPECT_FALSE(FileExists(t.dir.file("Log 2026-12-06 1430.txt")));
}

}  // namespace
