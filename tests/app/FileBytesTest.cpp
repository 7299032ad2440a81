#include "app/FileBytes.h"

#include <gtest/gtest.h>

#include <QDir>

#include "app/DesignDefaults.h"
#include "app/ProblemReport.h"
#include "app/Settings.h"
#include "support/TestForm.h"

namespace {

TEST(FileBytes, ReadsAndReplacesBytesAndTellsAnUnreadableFileFromAnEmptyOne) {
    TempFolder dir;
    const std::string path = dir.file("data.txt");
    const std::string bytes = std::string("caf\xE9\xA0\r\nline\0two", 15);
    std::string error;
    ASSERT_TRUE(SaveFileAtomically(path, bytes, &error)) << error;
    ASSERT_TRUE(SaveFileAtomically(path, bytes + "more", &error)) << error;
    std::string read = "old content";
    ASSERT_TRUE(ReadFileBytes(path, read, &error)) << error;
    EXPECT_EQ(read, bytes + "more");
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file left behind";

    WriteFileBytes(dir.file("empty.txt"), "");
    EXPECT_TRUE(ReadFileBytes(dir.file("empty.txt"), read));
    EXPECT_EQ(read, "");

    int errorNumber = 0;
    EXPECT_FALSE(ReadFileBytes(dir.file("missing.txt"), read, &error, &errorNumber));
    EXPECT_FALSE(error.empty());
    EXPECT_NE(errorNumber, 0);
    // A folder in the way of a file: neither readable nor replaceable, and the folder stays.
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("folder.txt"))));
    EXPECT_FALSE(ReadFileBytes(dir.file("folder.txt"), read));
    EXPECT_FALSE(SaveFileAtomically(dir.file("folder.txt"), "x", &error));
    EXPECT_FALSE(SaveFileAtomically(dir.file("no such folder/file.txt"), "x"));

    // A write that comes back short (a full disk) fails the save and leaves the old file whole.
    {
        FileSizeLimit limit(100);
        EXPECT_FALSE(SaveFileAtomically(path, std::string(300, 'x'), &error));
    }
    EXPECT_TRUE(ReadFileBytes(path, read));
    EXPECT_EQ(read, bytes + "more");
}

TEST(ReportProblem, ClearsTheUnattendedRunAndTitlesTheMessage) {
    TestForm t;
    MainForm& F = t.F();
    F.Title = "Drovix  ver. 9.8.7";
    F.AutoMode = true;
    t.frontend.pointer = MousePointer::Hourglass;
    t.frontend.answers = {MsgAnswer::No};
    EXPECT_EQ(ReportProblem(F, "first", MsgIcon::Question, MsgButtons::YesNo), MsgAnswer::No);
    ReportProblem(F, "second", MsgIcon::Critical, MsgButtons::OK, "Drovix Error");
    EXPECT_FALSE(F.AutoMode);
    EXPECT_TRUE(t.frontend.windowShown);
    EXPECT_EQ(t.frontend.pointer, MousePointer::Default);
    ASSERT_EQ(t.frontend.messages.size(), 2u);
    EXPECT_EQ(t.frontend.messages[0].title, "Drovix  ver. 9.8.7");
    EXPECT_EQ(t.frontend.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(t.frontend.messages[1].title, "Drovix Error");
}

// A settings file that is there but cannot be read is reported, and the program never replaces
// it with one made of its defaults.
TEST(ReportProblem, AnUnreadableSettingsFileIsReportedAndNotReplaced) {
    TestForm t;
    MainForm& F = t.F();
    ApplyDesignDefaults(F);
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(t.dir.file("Drovix.ini"))));
    F.AutoMode = true;
    IniRead(F);
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_NE(t.frontend.messages[0].text.find("Drovix.ini"), std::string::npos);
    EXPECT_FALSE(F.AutoMode) << "an unattended run must not go on without its settings";
    F.SettingsChanged = true;
    EXPECT_FALSE(IniWrite(F));
    EXPECT_TRUE(F.SettingsChanged);

    // A missing file is simply no settings.
    TestForm fresh;
    ApplyDesignDefaults(fresh.F());
    IniRead(fresh.F());
    EXPECT_TRUE(fresh.frontend.messages.empty());
    EXPECT_TRUE(IniWrite(fresh.F()));
}

}  // namespace
