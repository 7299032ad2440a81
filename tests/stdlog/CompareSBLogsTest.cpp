#include <gtest/gtest.h>

#include "StdLogTestData.h"
#include "TestForm.h"
#include "app/CompanionSettings.h"
#include "app/SaveCommands.h"
#include "stdlog/CompareSBLogs.h"
#include "stdlog/SbLogWriter.h"

namespace {

class CompareSBLogsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        F().CompSB.Value = true;
        F().CompDX.Value = false;
        FillList(F().InLog, 4, {});
        FillList(F().OutLog, 5, {});
        F().InCaption.Caption = "before";
        F().OutCaption.Caption = "before";
    }
    MainForm& F() { return t.F(); }
    void Write(const std::string& name, const std::string& text) { WriteFileBytes(t.dir.file(name), text); }
    TestForm t;
};

using Lines = std::vector<std::string>;

TEST_F(CompareSBLogsTest, StampsLoggedIncomingRecordsAndFlagsTheMissingOne) {
    FillList(F().InLog, 4,
             {{"", "", "198.51.100.23", "80"},
              {"", "", "203.0.113.150", "1433"},
              {"", "", "198.51.100.77", "21"}});
    Write(
        "Log 2026-12-06.txt",
        CrLfLines({"2026/12/06 07:00:00.00 S Stillbeacon started",
                   "2026/12/06\t08:00:00\tI\tTCP\t198.51.100.77\thost77.example.net\t3000\t192.168.1.100\t21",
                   // A message that happens to hold " I " is not a record.
                   "2026/12/06 09:30:00.00 M Note I 203.0.113.150 0 0.0.0.0 1433", "2026/12", "",
                   "2026/12/06 10:00:00.00 I 198.51.100.23\xA0TCP 4000 192.168.1.100 80"}));
    CompareSBLogs(F());

    EXPECT_EQ(Marks(F().InLog), (Lines{"2026/12/06 10:00:00", "unstamped flagged", "2026/12/06 08:00:00"}));
    EXPECT_EQ(F().InLog.CellBackColorAt(2, 3), FlagColour) << "the whole row is painted";
    EXPECT_EQ(F().stdlog.InFlagCount, 1);
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log  (3 entries,  1 flagged)");
    EXPECT_EQ(F().OutCaption.Caption, "Outgoing log  (0 entries,  0 flagged)");
    EXPECT_TRUE(F().BSaveHilited.Enabled);
    EXPECT_FALSE(F().TProgress.Visible);
}

// A row that is hidden and also missing: a flagged line is compared once more and a line that
// met a hidden row is too, so a line that does both steps back to the newer line before it.
// Whatever the colours, "Save highlighted" never writes a record Stillbeacon was told to hide.
TEST_F(CompareSBLogsTest, AHiddenRowThatIsAlsoMissingIsWalkedByTheRulesAndNeverSaved) {
    WriteFileBytes(t.dir.file("Hideaddr.txt"), "-203.0.113.9\r\n");
    ReadDontLogLists(F());
    FillList(F().InLog, 4,
             {{"", "", "198.51.100.77", "21"}, {"", "", "203.0.113.9", "21"}, {"", "", "203.0.113.9", "80"}});
    Write("Log 2026-12-06.txt", CrLfLines({"2026/12/06 08:00:00.00 I 198.51.100.23 4000 192.168.1.100 80",
                                           "2026/12/06 09:00:00.00 I 198.51.100.77 3000 192.168.1.100 21"}));
    CompareSBLogs(F());

    EXPECT_EQ(Marks(F().InLog), (Lines{"2026/12/06 09:00:00", "unstamped flagged", "unstamped hidden"}));
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log  (3 entries,  1 flagged)");

    BSaveHilited_Click(F());
    EXPECT_TRUE(F().stdlog.LastSavedFile.empty()) << "nothing to save: no file, not even an empty one";
    EXPECT_TRUE(t.frontend.messages.empty());
}

TEST_F(CompareSBLogsTest, ReadsNewestFileFirstAndStopsWhenListsAreDone) {
    FillList(F().InLog, 4, {{"", "", "198.51.100.23", "80"}, {"", "", "198.51.100.77", "21"}});
    Write("Log 2026-12-06.txt", CrLfLines({"2026/12/06 10:00:00.00 I 198.51.100.23 4000 192.168.1.100 80"}));
    // Listing ignores letter case; the older file with the same record is never reached.
    Write("log 2026-12-05.TXT", CrLfLines({"2026/12/05 22:00:00.00 I 198.51.100.77 3000 192.168.1.100 21"}));
    Write("Log 2026-12-04.txt", CrLfLines({"2026/12/04 22:00:00.00 I 198.51.100.77 3000 192.168.1.100 21"}));
    Write("Notes.txt", CrLfLines({"2026/12/07 22:00:00.00 I 198.51.100.77 3000 192.168.1.100 21"}));
    CompareSBLogs(F());
    EXPECT_EQ(Marks(F().InLog), (Lines{"2026/12/06 10:00:00", "2026/12/05 22:00:00"}));
    EXPECT_FALSE(F().BSaveHilited.Enabled);
}

TEST_F(CompareSBLogsTest, SameNetworkCountsAsLoggedAndElevenMissesMoveOn) {
    // Same first three numbers as the Stillbeacon line: not highlighted, takes its date.
    FillList(F().InLog, 4, {{"", "", "198.51.100.23", "80"}, {"", "", "198.51.100.99", "21"}});
    Write("Log 2026-12-06.txt", CrLfLines({"2026/12/06 08:00:00.00 I 198.51.100.77 3000 192.168.1.100 21",
                                           "2026/12/06 10:00:00.00 I 198.51.100.23 4000 192.168.1.100 80"}));
    CompareSBLogs(F());
    EXPECT_EQ(Marks(F().InLog), (Lines{"2026/12/06 10:00:00", "2026/12/06 08:00:00"}));

    // Lines matching no row keep the walk on the current row for ten lines; the eleventh moves it.
    for (int unmatched : {10, 11}) {
        FillList(F().InLog, 4, {{"", "", "203.0.113.150", "1433"}, {"", "", "198.51.100.23", "80"}});
        std::string text = "2026/12/06 09:00:00.00 I 198.51.100.23 4000 192.168.1.100 80\r\n";
        for (int i = 0; i < unmatched; ++i)
            text += "2026/12/06 10:00:00.00 I mx.example.org(198.51.100.9) 5000 192.168.1.100 25\r\n";
        Write("Log 2026-12-06.txt", text);
        CompareSBLogs(F());
        EXPECT_EQ(Marks(F().InLog),
                  (Lines{unmatched == 10 ? "unstamped flagged" : "unstamped", "2026/12/06 09:00:00"}))
            << unmatched;
    }
}

TEST_F(CompareSBLogsTest, DontLogListsPaintGrayOrKeepRecordsFromBeingFlagged) {
    const std::string line = CrLfLines({"2026/12/06 10:00:00.00 I 198.51.100.23 4000 192.168.1.100 80"});
    Write("Log 2026-12-06.txt", line);

    // Hidden address, but the record is missing as well: ends light blue.
    F().SBAddrList = {"203.0.113.150"};
    FillList(F().InLog, 4, {{"", "", "203.0.113.150", "1433"}, {"", "", "198.51.100.23", "80"}});
    CompareSBLogs(F());
    // The same line is compared with the next row.
    EXPECT_EQ(Marks(F().InLog), (Lines{"unstamped flagged", "2026/12/06 10:00:00"}));

    // Hidden remote port: light gray; same network, so it also takes the line's date.
    F().SBAddrList.clear();
    F().SBRPortList = {"135"};
    FillList(F().InLog, 4, {{"", "", "198.51.100.40", "135"}, {"", "", "198.51.100.23", "80"}});
    CompareSBLogs(F());
    EXPECT_EQ(Marks(F().InLog), (Lines{"2026/12/06 10:00:00 hidden", "2026/12/06 10:00:00"}));
    EXPECT_EQ(F().stdlog.InFlagCount, 0);

    // Hidden local port: counts as logged, so never flagged, and takes the line's date.
    F().SBRPortList.clear();
    F().SBLPortList = {"1433"};
    FillList(F().InLog, 4, {{"", "", "203.0.113.150", "1433"}, {"", "", "198.51.100.23", "80"}});
    CompareSBLogs(F());
    EXPECT_EQ(Marks(F().InLog), (Lines{"2026/12/06 10:00:00", "2026/12/06 10:00:00"}));
    EXPECT_FALSE(F().BSaveHilited.Enabled);

    // An outgoing row on the hidden ports list is gray and not counted.
    F().SBLPortList.clear();
    F().SBRPortList = {"pop3"};
    FillList(F().InLog, 4, {});
    FillList(F().OutLog, 5, {{"", "", "192.168.1.101", "mail.example.net", "110 - pop3"}});
    Write("Log 2026-12-06.txt",
          CrLfLines({"2026/12/06 10:00:00.00 O www.example.com http 192.168.1.100 1102"}));
    CompareSBLogs(F());
    EXPECT_EQ(Marks(F().OutLog), Lines{"unstamped hidden"});
    EXPECT_EQ(F().OutCaption.Caption, "Outgoing log  (1 entries,  0 flagged)");
}

TEST_F(CompareSBLogsTest, OutgoingRecordsMatchExactlyOrNearbyAndMissingOnesAreFlagged) {
    FillList(F().OutLog, 5,
             {{"", "", "192.168.1.100", "www.example.com", "80 - http"},
              {"", "", "192.168.1.101", "mail.example.net", "110 - pop3"},
              {"", "", "192.168.1.102", "203.0.113.40", "21 - ftp"},
              {"", "", "192.168.1.102", "203.0.113.40", "21 - ftp"},
              {"", "", "192.168.1.103", "203.0.113.80", "8080"}});
    Write("Log 2026-12-06.txt",
          CrLfLines({"2026/12/06 11:00:00.00 O 203.0.113.80 8080 192.168.1.103 1100",
                     "2026/12/06 11:05:00.00 O 203.0.113.40 ftp 192.168.1.102 1101",
                     "2026/12/06 11:10:00.00 O www.example.com http 192.168.1.100 1102"}));
    CompareSBLogs(F());
    // The repeated connection in the fourth row is covered by the line of the third.
    EXPECT_EQ(Marks(F().OutLog), (Lines{"2026/12/06 11:10:00", "unstamped flagged", "2026/12/06 11:05:00",
                                        "unstamped", "2026/12/06 11:00:00"}));
    EXPECT_EQ(F().OutCaption.Caption, "Outgoing log  (5 entries,  1 flagged)");
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log  (0 entries,  0 flagged)");

    // Stillbeacon logged two connections in the other order: a neighbouring line counts.
    FillList(F().OutLog, 5,
             {{"", "", "192.168.1.100", "www.example.com", "80 - http"},
              {"", "", "192.168.1.102", "203.0.113.40", "21 - ftp"}});
    Write("Log 2026-12-06.txt", CrLfLines({"2026/12/06 11:10:00.00 O www.example.com http 192.168.1.100 1102",
                                           "2026/12/06 11:05:00.00 O 203.0.113.40 ftp 192.168.1.102 1101"}));
    CompareSBLogs(F());
    EXPECT_EQ(F().stdlog.OutFlagCount, 0);
    EXPECT_EQ(Marks(F().OutLog)[0], "2026/12/06 11:05:00");

    // Another computer on the network reached the same party and port: Stillbeacon did not see it.
    FillList(F().OutLog, 5, {{"", "", "192.168.1.105", "203.0.113.80", "8080"}});
    Write("Log 2026-12-06.txt", CrLfLines({"2026/12/06 11:00:00.00 O 203.0.113.80 8080 192.168.1.103 1100"}));
    CompareSBLogs(F());
    EXPECT_EQ(Marks(F().OutLog), Lines{"unstamped flagged"});
    EXPECT_EQ(F().stdlog.OutFlagCount, 1);
}

TEST_F(CompareSBLogsTest, SecondPassClearsRecordsDrovixSavedBeforeAndKeepsTheOthers) {
    FillList(F().InLog, 4,
             {{"", "", "198.51.100.23", "80"},
              {"", "", "203.0.113.150", "1433"},
              {"", "", "203.0.113.9", "135"},
              {"", "", "198.51.100.77", "21"}});
    Write("Log 2026-12-06.txt", CrLfLines({"2026/12/06 08:00:00.00 I 198.51.100.77 3000 192.168.1.100 21",
                                           "2026/12/06 10:00:00.00 I 198.51.100.23 4000 192.168.1.100 80"}));
    // An earlier "Save highlighted" wrote the first missing record only.
    Write("Log 2026-12-06 1200.txt", CrLfLines({"2026/12/06 10:01:00.00 I 203.0.113.150 0 0.0.0.0 1433"}));

    CompareSBLogs(F());
    EXPECT_EQ(F().stdlog.InFlagCount, 2) << "without the second pass both missing records stay flagged";

    F().CompDX.Value = true;
    for (int r = 1; r < F().InLog.Rows(); ++r) F().InLog.PaintRow(r, White);
    CompareSBLogs(F());
    // The third record was never saved, so it must stay highlighted.
    EXPECT_EQ(Marks(F().InLog), (Lines{"2026/12/06 10:00:00", "2026/12/06 10:01:00", "unstamped flagged",
                                       "2026/12/06 08:00:00"}));
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log  (4 entries,  1 flagged)");

    // Only the second pass: Stillbeacon's own files are not read.
    F().CompSB.Value = false;
    FillList(F().InLog, 4, {{"", "", "198.51.100.23", "80"}});
    CompareSBLogs(F());
    EXPECT_EQ(Marks(F().InLog), Lines{"unstamped"});
}

TEST_F(CompareSBLogsTest, EveryLineOfALargeFileIsCompared) {
    FillList(F().InLog, 4, {{"", "", "198.51.100.23", "80"}});
    std::string text;
    for (int i = 0; i < 40000; ++i) text += "2026/12/06 01:00:00.00 O 198.51.100.1 http 192.168.1.100 0\r\n";
    text += "2026/12/06 23:59:59.00 I 198.51.100.23 4000 192.168.1.100 80";  // no line end at all
    Write("Log 2026-12-06.txt", text);
    CompareSBLogs(F());
    EXPECT_EQ(Marks(F().InLog), Lines{"2026/12/06 23:59:59"});
}

TEST_F(CompareSBLogsTest, MissingFolderOrEmptyListsLeaveCaptionsAlone) {
    CompareSBLogs(F());
    EXPECT_EQ(F().InCaption.Caption, "before");

    FillList(F().InLog, 4, {{"", "", "198.51.100.23", "80"}});
    F().SbLogDir = t.dir.path() + "missing/";
    CompareSBLogs(F());
    EXPECT_EQ(F().InCaption.Caption, "before");
    EXPECT_FALSE(F().BSaveHilited.Enabled);

    // No Stillbeacon file at all: nothing painted, counts shown.
    F().SbLogDir = t.dir.path();
    CompareSBLogs(F());
    EXPECT_EQ(F().InCaption.Caption, "Incoming Log  (1 entries,  0 flagged)");
}

}  // namespace
