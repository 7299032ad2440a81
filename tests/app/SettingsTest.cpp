#include "app/Settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "app/PasswordStore.h"
#include "capture/RouterClockFile.h"
#include "form/DesignDefaults.h"
#include "support/FailingFileCall.h"
#include "support/IsolatedUserConfig.h"
#include "support/TestForm.h"
#include "ui/ListMouse.h"

namespace {

const std::string kKey = "7E2A91D04C6B3F58E0A7D2196B4C8F03";

// Every test starts from the design state, an empty password store and no settings file. The
// store must be the isolated one: a test must never touch the real user's saved password.
class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(PasswordStoreLocation().rfind(IsolatedConfigHome(), 0), 0u) << PasswordStoreLocation();
        DeleteStoredPassword();
        ApplyDesignDefaults(F());
    }
    void TearDown() override { DeleteStoredPassword(); }

    MainForm& F() { return T.F(); }
    std::string IniPath() { return T.dir.file("Drovix.ini"); }
    void WriteIni(const std::string& text) { WriteFileBytes(IniPath(), text); }
    std::string IniText() { return ReadFileBytes(IniPath()); }

    // A second program start over the same folder: design state, then the file.
    std::unique_ptr<MainForm> Reread() {
        auto other = std::make_unique<MainForm>(T.frontend, T.clock);
        other->ProgramDir = T.dir.path();
        ApplyDesignDefaults(*other);
        IniRead(*other);
        return other;
    }

    // The keys of the file in their order, each line checked for its CR LF end.
    std::vector<std::string> KeysInFile() {
        std::vector<std::string> keys;
        const std::string text = IniText();
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find("\r\n", start);
            EXPECT_NE(end, std::string::npos) << "line without CR LF at " << start;
            if (end == std::string::npos) break;
            const std::string line = text.substr(start, end - start);
            EXPECT_EQ(line.find('\n'), std::string::npos);
            keys.push_back(line.substr(0, line.find('=')));
            start = end + 2;
        }
        return keys;
    }

    bool FileHasKey(const std::string& key) {
        const std::string text = "\r\n" + IniText();
        return text.find("\r\n" + key + "=") != std::string::npos;
    }

    TestForm T;
};

TEST_F(SettingsTest, EveryKeyIsWrittenInOrderAndReadBack) {
    MainForm& f = F();
    f.SavePW.Value = true;
    f.UserID.Text = "boss";
    f.PW.Text = "s3cret";
    f.IPAddr.Text = "10.0.0.138";
    f.RouterRetry.Text = "7";
    f.RouterDelay.Text = "3";
    f.RouterWait.Text = "9";
    f.CkConvertIP.Value = true;
    f.CkConvertURL.Value = false;
    const std::vector<CheckBox MainForm::*> ticked = {
        &MainForm::CCacheFailures, &MainForm::CompSB,      &MainForm::CompDX, &MainForm::CompAddr,
        &MainForm::CSysLog,        &MainForm::CSaveSysLog, &MainForm::CmnW};
    for (auto box : ticked) (f.*box).Value = true;
    f.LastMnwTime = "2026-12-05T14:30:00";
    f.MaxTdiff.Text = "120";
    for (size_t i = 0; i < 4; ++i) f.Include[i].Value = i == 3;
    const bool shown[7] = {false, true, false, true, false, true, true};
    for (size_t i = 0; i < 7; ++i) f.ShowMessages[i].Value = shown[i];
    f.Window = {300, -200, 9000, 6000};
    f.WindowState = 2;
    f.SysLog.SetCols(12);
    for (int c = 0; c < 12; ++c) f.SysLog.SetColWidth(c, 500 + 10 * c);
    f.AltAuth = 2;
    f.StdOnly = true;
    f.LookupThreads = 40;
    f.ListenAt = "192.168.1.10:5514";
    f.SettingsChanged = true;

    ASSERT_TRUE(IniWrite(f));
    EXPECT_FALSE(f.SettingsChanged);

    std::vector<std::string> expected = {
        "VERSION",    "USERID",      "SAVEPW",           "ADDRESS",       "RRETRY",      "RDELAY",
        "RWAIT",      "CONVERT",     "CONVERTURL",       "CACHE",         "COMPSB",      "COMPDX",
        "COMPADDR",   "SYSLOG",      "SAVESYSLOG",       "MNW",           "LASTMNW",     "MAXTIMEDIFF",
        "INCLUDEALL", "INCLUDENEW",  "INCLUDETODAY",     "INCLUDEWEEK",   "SHOWIN",      "SHOWOUT",
        "SHOWMSG",    "SHOWWARNING", "INCLUDEDXHISTORY", "SHOWNOTLOGGED", "SHOWIGNORED", "WINLEFT",
        "WINTOP",     "WINWIDTH",    "WINHEIGHT",        "WINSTATE"};
    expected.insert(expected.end(), 10, "COLWIDTH");
    expected.insert(expected.end(), {"ALTAUTH", "SRONLY", "UTHREADS", "LISTEN"});
    EXPECT_EQ(KeysInFile(), expected);
    EXPECT_NE(IniText().find("VERSION=" DROVIX_VERSION "\r\n"), std::string::npos);
    EXPECT_NE(IniText().find("COLWIDTH=9 590\r\n"), std::string::npos);
    // The password itself never goes into the file.
    EXPECT_EQ(IniText().find("s3cret"), std::string::npos);
    EXPECT_EQ(ReadStoredPassword(), Enc("s3cret", kKey, false));

    auto g = Reread();
    EXPECT_EQ(g->UserID.Text, "boss");
    EXPECT_TRUE(g->SavePW.Value);
    EXPECT_EQ(g->PW.Text, "s3cret");
    EXPECT_EQ(g->StoredPassword, Enc("s3cret", kKey, false));
    EXPECT_EQ(g->IPAddr.Text, "10.0.0.138");
    EXPECT_EQ(g->RouterAddress, "10.0.0.138");
    EXPECT_EQ(g->RouterRetry.Text, "7");
    EXPECT_EQ(g->RouterDelay.Text, "3");
    EXPECT_EQ(g->RouterWait.Text, "9");
    EXPECT_TRUE(g->CkConvertIP.Value);
    EXPECT_FALSE(g->CkConvertURL.Value);
    EXPECT_TRUE(g->ConvertIPInEffect);
    EXPECT_FALSE(g->ConvertURLInEffect);
    for (auto box : ticked) EXPECT_TRUE(((*g).*box).Value);
    EXPECT_EQ(g->LastMnwTime, "2026-12-05T14:30:00");
    EXPECT_EQ(g->MaxTdiff.Text, "120");
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(g->Include[i].Value, i == 3) << i;
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(g->ShowMessages[i].Value, shown[i]) << i;
    EXPECT_EQ(g->Window, (MainForm::Geometry{300, -200, 9000, 6000}));
    EXPECT_EQ(g->WindowState, 2);
    ASSERT_EQ(g->SysLog.Cols(), 12);
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(g->SysLog.ColWidth(c), 500 + 10 * c) << c;
        EXPECT_EQ(g->ColumnWidthSnapshot[c], 500 + 10 * c) << c;
    }
    EXPECT_EQ(g->AltAuth, 2);
    EXPECT_TRUE(g->StdOnly);
    EXPECT_EQ(g->LookupThreads, 40);
    EXPECT_EQ(g->ListenAt, "192.168.1.10:5514");
}

TEST_F(SettingsTest, MissingFileKeepsDesignStateAndDefaults) {
    F().IPAddr.Text.clear();
    F().Window = {1, 2, 3000, 4000};
    F().WindowState = 1;
    IniRead(F());
    EXPECT_EQ(F().IPAddr.Text, "192.168.1.1");
    EXPECT_EQ(F().Window, (MainForm::Geometry{1, 2, 3000, 4000}));
    EXPECT_EQ(F().WindowState, 1);
    EXPECT_EQ(F().SysLog.Cols(), 12);
    EXPECT_EQ(F().SbLogDir, F().ProgramDir);
}

TEST_F(SettingsTest, KeysAnyCaseRangesAndMalformedLines) {
    WriteIni(
        "rretry=7\n"
        "RDELAY=0\n"
        "RWait=10\n"
        "no equals sign here\n"
        "UNKNOWN=5\n"
        "MAXTIMEDIFF=86400\n"
        "ALTAUTH=4\n"
        "SRONLY=abc\n"
        "UTHREADS=500\n"
        "WINLEFT=100.6\n"
        "WINTOP=-45\n"
        "WINWIDTH=0\n"
        "WINHEIGHT=wide\n"
        "WINSTATE=5\n"
        "USERID=   \n"
        "ADDRESS=\n");
    F().Window = {10, 20, 8000, 6000};
    F().IPAddr.Text = "192.168.7.1";
    F().RouterDelay.Text = "8";  // the router timings start from their defaults at every read
    IniRead(F());
    EXPECT_EQ(F().RouterRetry.Text, "7");
    EXPECT_EQ(F().RouterDelay.Text, "5");
    EXPECT_EQ(F().RouterWait.Text, "4");
    EXPECT_EQ(F().MaxTdiff.Text, "30");
    EXPECT_EQ(F().AltAuth, 0);
    EXPECT_FALSE(F().StdOnly);
    EXPECT_EQ(F().LookupThreads, 120);
    EXPECT_EQ(F().Window, (MainForm::Geometry{101, -45, 8000, 6000}));
    EXPECT_EQ(F().WindowState, 0);
    EXPECT_EQ(F().UserID.Text, "admin");
    // An empty ADDRESS keeps the guessed address.
    EXPECT_EQ(F().IPAddr.Text, "192.168.7.1");

    WriteIni("MAXTIMEDIFF=86399\r\nALTAUTH=3\r\nSRONLY=2\r\nUTHREADS=-3\r\nUSERID= ops \r\nRDELAY=9\r\n");
    IniRead(F());
    EXPECT_EQ(F().MaxTdiff.Text, "86399");
    EXPECT_EQ(F().AltAuth, 3);
    EXPECT_TRUE(F().StdOnly);
    EXPECT_EQ(F().LookupThreads, 0);
    EXPECT_EQ(F().UserID.Text, " ops ");
    EXPECT_EQ(F().RouterDelay.Text, "9");
}

TEST_F(SettingsTest, OldKeyNamesMeanTheNewOnes) {
    WriteIni("SHOWALL=1\r\nSHOWNOTLOG=1\r\nSHOWROUTERONLY=0\r\n");
    IniRead(F());
    EXPECT_TRUE(F().Include[0].Value);
    EXPECT_FALSE(F().Include[2].Value) << "choosing one timeframe clears the others";
    EXPECT_TRUE(F().ShowMessages[5].Value);
    EXPECT_FALSE(F().ShowMessages[4].Value);

    WriteIni("SHOWNEW=1\r\nSHOWTODAY=0\r\n");
    IniRead(F());
    EXPECT_TRUE(F().Include[1].Value);
    EXPECT_FALSE(F().Include[0].Value);

    WriteIni("SHOWTODAY=1\r\n");
    IniRead(F());
    EXPECT_TRUE(F().Include[2].Value);
    EXPECT_FALSE(F().Include[1].Value);

    // Old names are read, never written.
    ASSERT_TRUE(IniWrite(F()));
    for (const char* old : {"SHOWALL", "SHOWNEW", "SHOWTODAY", "SHOWNOTLOG", "SHOWROUTERONLY"}) {
        EXPECT_FALSE(FileHasKey(old)) << old;
    }
}

TEST_F(SettingsTest, ConvertAloneSetsBothDirections) {
    WriteIni("CONVERT=1\r\n");
    IniRead(F());
    EXPECT_TRUE(F().CkConvertIP.Value);
    EXPECT_TRUE(F().CkConvertURL.Value);
    EXPECT_TRUE(F().ConvertIPInEffect);
    EXPECT_TRUE(F().ConvertURLInEffect);

    // CONVERTURL decides its own box wherever it stands in the file.
    WriteIni("CONVERTURL=0\r\nCONVERT=1\r\n");
    IniRead(F());
    EXPECT_TRUE(F().CkConvertIP.Value);
    EXPECT_FALSE(F().CkConvertURL.Value);
    EXPECT_FALSE(F().ConvertURLInEffect);

    // A value other than 1 or 0 leaves the box as it was.
    WriteIni("CONVERT=yes\r\nCONVERTURL=maybe\r\n");
    IniRead(F());
    EXPECT_TRUE(F().CkConvertIP.Value);
    EXPECT_TRUE(F().CkConvertURL.Value);
}

TEST_F(SettingsTest, NumbersWrittenBack) {
    WriteIni("UTHREADS=1\r\n");
    IniRead(F());
    EXPECT_EQ(F().LookupThreads, 1);
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_FALSE(FileHasKey("UTHREADS"));
    F().LookupThreads = 2;
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_NE(IniText().find("\r\nUTHREADS=2\r\n"), std::string::npos);
    F().AltAuth = -2;
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_NE(IniText().find("\r\nALTAUTH=2\r\n"), std::string::npos);
}

TEST_F(SettingsTest, ValuesCannotForgeExtraLines) {
    F().SavePW.Value = true;
    F().UserID.Text = "admin\r\nUTHREADS=99";
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_EQ(Reread()->LookupThreads, 0);
    EXPECT_EQ(Reread()->UserID.Text, "adminUTHREADS=99");
}

TEST_F(SettingsTest, SavedPasswordLivesInThePerUserStore) {
    WriteStoredPassword(Enc("pa55", kKey, false));
    WriteIni("SAVEPW=1\r\nUSERID=root\r\n");
    IniRead(F());
    EXPECT_TRUE(F().SavePW.Value);
    EXPECT_TRUE(F().SavePW.Enabled);
    EXPECT_EQ(F().PW.Text, "pa55");
    EXPECT_EQ(F().StoredPassword, Enc("pa55", kKey, false));

    // Unchecking "Save Password" and saving drops the logon ID and the stored password.
    F().SavePW.Value = false;
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_FALSE(FileHasKey("USERID"));
    EXPECT_NE(IniText().find("\r\nSAVEPW=0\r\n"), std::string::npos);
    EXPECT_EQ(ReadStoredPassword(), "");

    // So does a file that says not to save.
    WriteStoredPassword("0102");
    WriteIni("SAVEPW=0\r\n");
    IniRead(F());
    EXPECT_FALSE(F().SavePW.Value);
    EXPECT_EQ(ReadStoredPassword(), "");
}

// The store's file holds the password: it stays its owner's alone each time the store replaces
// it, also when an older Drovix left it readable to all.
TEST_F(SettingsTest, PasswordStoreStaysPrivateThroughRewrites) {
    const std::string store = PasswordStoreLocation();
    const auto mode = [&] {
        struct stat st {};
        return ::stat(store.c_str(), &st) == 0 ? st.st_mode & 0777 : 0u;
    };
    WriteStoredPassword(Enc("pa55", kKey, false));
    EXPECT_EQ(mode(), 0600u);
    ::chmod(store.c_str(), 0644);
    WriteStoredPassword(Enc("other", kKey, false));
    EXPECT_EQ(mode(), 0600u);
    ::chmod(store.c_str(), 0644);
    DeleteStoredPassword();
    EXPECT_EQ(mode(), 0600u);
}

// Every unattended run saves the settings, the password and the router's clock offset: one that
// changes nothing leaves each file in place, unflushed (the store made private all the same); a
// change still replaces the file.
TEST_F(SettingsTest, ASaveThatChangesNothingLeavesTheFilesInPlace) {
    const std::string store = PasswordStoreLocation();
    const std::string clock = T.dir.path() + RouterClockFileName;
    const auto inode = [](const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
    };
    const auto save = [&](const std::string& password, long long offset) {
        F().SavePW.Value = true;
        F().PW.Text = password;
        ASSERT_TRUE(IniWrite(F()));
        ASSERT_TRUE(KeepRouterClockOffset(T.dir.path(), offset));
    };
    save("pa55", 7);
    const std::vector<std::string> paths = {IniPath(), store, clock};
    std::vector<ino_t> before;
    for (const std::string& path : paths) before.push_back(inode(path));
    ::chmod(store.c_str(), 0644);

    save("pa55", 7);
    for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(inode(paths[i]), before[i]) << paths[i];
    struct stat st {};
    ASSERT_EQ(::stat(store.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    F().IPAddr.Text = "192.168.7.1";
    save("other", -3);
    for (size_t i = 0; i < paths.size(); ++i) EXPECT_NE(inode(paths[i]), before[i]) << paths[i];
    EXPECT_NE(IniText().find("\r\nADDRESS=192.168.7.1\r\n"), std::string::npos);
    EXPECT_EQ(ReadStoredPassword(), Enc("other", kKey, false));
    EXPECT_EQ(ReadRouterClockOffset(T.dir.path()), -3);
}

TEST_F(SettingsTest, ScrambledPasswordOfAnOldFileMovesIntoTheStore) {
    const std::string scrambled = Enc("oldpass", kKey, false);
    WriteIni("USERID=admin\r\nPWE=" + scrambled + "\r\nADDRESS=192.168.2.1\r\n");
    IniRead(F());
    EXPECT_EQ(F().PW.Text, "oldpass");
    EXPECT_TRUE(F().SavePW.Enabled);
    EXPECT_TRUE(F().SavePW.Value);
    EXPECT_EQ(ReadStoredPassword(), scrambled);
    EXPECT_EQ(F().StoredPassword, scrambled);

    ASSERT_TRUE(IniWrite(F()));
    EXPECT_FALSE(FileHasKey("PW"));
    EXPECT_FALSE(FileHasKey("PWE"));
    EXPECT_EQ(IniText().find("oldpass"), std::string::npos);
    EXPECT_EQ(Reread()->PW.Text, "oldpass");
}

TEST_F(SettingsTest, PlainPasswordOfAnOldFileIsKeptScrambled) {
    WriteIni("PW=plain1\r\n");
    IniRead(F());
    EXPECT_EQ(F().PW.Text, "plain1");
    EXPECT_TRUE(F().SavePW.Value);
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_EQ(IniText().find("plain1"), std::string::npos);
    EXPECT_EQ(ReadStoredPassword(), Enc("plain1", kKey, false));

    // When the old file itself says not to save, the password is used but not stored.
    DeleteStoredPassword();
    ApplyDesignDefaults(F());
    WriteIni("PW=plain2\r\nSAVEPW=0\r\n");
    IniRead(F());
    EXPECT_EQ(F().PW.Text, "plain2");
    EXPECT_FALSE(F().SavePW.Value);
    EXPECT_EQ(ReadStoredPassword(), "");
}

TEST_F(SettingsTest, ColumnWidthSlots) {
    WriteIni(
        "COLWIDTH=0 1500\r\n"
        "COLWIDTH=3 0\r\n"
        "COLWIDTH=11 2222\r\n"
        "COLWIDTH=13 100\r\n"
        "COLWIDTH=x 100\r\n"
        "COLWIDTH=5\r\n"
        "COLWIDTH=6 wide\r\n");
    F().ColumnWidthSnapshot[5] = 700;
    IniRead(F());
    ASSERT_EQ(F().SysLog.Cols(), 12);
    EXPECT_EQ(F().SysLog.ColWidth(0), 1500);
    EXPECT_EQ(F().SysLog.ColWidth(3), RecordGrid::DefaultColWidth) << "a width of 0 is not applied";
    EXPECT_EQ(F().ColumnWidthSnapshot[3], 0);
    EXPECT_EQ(F().SysLog.ColWidth(11), 2222);
    EXPECT_EQ(F().ColumnWidthSnapshot[11], 2222);
    EXPECT_FALSE(F().ColumnWidthSnapshot[5].has_value()) << "an empty width empties the slot";
    EXPECT_FALSE(F().ColumnWidthSnapshot[6].has_value());
    EXPECT_FALSE(F().ColumnWidthSnapshot[12].has_value());

    // Writing takes the list's current widths and keeps the snapshot in step with the file.
    F().SysLog.SetColWidth(1, 1234);
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_EQ(F().ColumnWidthSnapshot[1], 1234);
    EXPECT_NE(IniText().find("\r\nCOLWIDTH=1 1234\r\n"), std::string::npos);
    EXPECT_NE(IniText().find("\r\nCOLWIDTH=0 1500\r\n"), std::string::npos);
    EXPECT_EQ(IniText().find("COLWIDTH=11"), std::string::npos) << "only ten slots are stored";

    // A list with fewer columns writes the remaining slots as they stand, empty when never set.
    F().SysLog.SetCols(4);
    F().ColumnWidthSnapshot[8] = 999;
    F().ColumnWidthSnapshot[9].reset();
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_NE(IniText().find("\r\nCOLWIDTH=8 999\r\n"), std::string::npos);
    EXPECT_NE(IniText().find("\r\nCOLWIDTH=9 \r\n"), std::string::npos);
}

TEST_F(SettingsTest, StillbeaconSettings) {
    EXPECT_EQ(F().SbLogDir, F().ProgramDir);
    WriteFileBytes(T.dir.file("Stillbeacon.ini"),
                   "[ignored section]\r\n"
                   "logdir   /srv/sb logs  \r\n"
                   "LRESOLVE 1\r\n"
                   "ResolveNetBios 1\n"
                   "USESUBTYPES 0\r\n"
                   "CATEGORIZE 3\r\n");
    F().SbLogDir = "/elsewhere/";
    IniRead(F());
    EXPECT_EQ(F().SbLogDir, "/srv/sb logs/");
    EXPECT_TRUE(F().LogResolve);
    EXPECT_TRUE(F().ResolveNetBios);
    EXPECT_FALSE(F().UseSubtypes);
    EXPECT_EQ(F().Categorize, 3);

    WriteFileBytes(T.dir.file("Stillbeacon.ini"), "LOGDIR /srv/sb/\r\nUSESUBTYPES 1\r\nLRESOLVE 2\r\n");
    IniRead(F());
    EXPECT_EQ(F().SbLogDir, "/srv/sb/");
    EXPECT_TRUE(F().UseSubtypes);
    EXPECT_FALSE(F().LogResolve);
    EXPECT_FALSE(F().ResolveNetBios) << "flags not in the file are off again";
    EXPECT_EQ(F().Categorize, 0);

    // A relative folder lies in the folder both programs share; an empty one keeps that folder.
    WriteFileBytes(T.dir.file("Stillbeacon.ini"), "LOGDIR logs\r\n");
    IniRead(F());
    EXPECT_EQ(F().SbLogDir, F().ProgramDir + "logs/");
    WriteFileBytes(T.dir.file("Stillbeacon.ini"), "LOGDIR   \r\n");
    IniRead(F());
    EXPECT_EQ(F().SbLogDir, F().ProgramDir);

    // Bytes of the folder name are kept as they are.
    WriteFileBytes(T.dir.file("Stillbeacon.ini"), "LOGDIR /data/caf\xE9\r\n");
    IniRead(F());
    EXPECT_EQ(F().SbLogDir, "/data/caf\xE9/");
}

TEST_F(SettingsTest, DontLogLists) {
    WriteFileBytes(T.dir.file("Hideaddr.txt"),
                   "~comment -10.9.9.9\r\n"
                   "-*64.12.0.1\r\n"
                   "-M 10.0.0.:\r\n"
                   "-\r\n"
                   "-**x\r\n"
                   "no marker\n"
                   "-caf\xE9.example\n");
    WriteFileBytes(T.dir.file("Hideport.txt"),
                   "~RN 99\r\n"
                   "RN 135\r\n"
                   "LN:137\r\n"
                   "LN 445\n"
                   "XN 1\r\n"
                   "RN\r\n"
                   "rn 5\r\n");
    F().SBAddrList = {"stale"};
    IniRead(F());
    EXPECT_EQ(F().SBAddrList, (std::vector<std::string>{"64.12.0.1", "M 10.0.0.:", "*x", "caf\xE9.example"}));
    EXPECT_EQ(F().SBRPortList, (std::vector<std::string>{"135"}));
    EXPECT_EQ(F().SBLPortList, (std::vector<std::string>{"137", "445"}));

    QFile::remove(QString::fromStdString(T.dir.file("Hideaddr.txt")));
    IniRead(F());
    EXPECT_TRUE(F().SBAddrList.empty());
}

// The next start reads what the field would show once it accepted the value.
TEST_F(SettingsTest, ATypedTimeDifferenceIsWrittenAsTheWholeNumberTheFieldAccepts) {
    const std::pair<const char*, const char*> cases[] = {{"45.5", "46"}, {"45 s", "45"}, {"45abc", "45"}};
    // Written as the whole number even when the field never lost the focus.
    for (const auto& [typed, kept] : cases) {
        F().MaxTdiff.Text = typed;
        ASSERT_TRUE(IniWrite(F()));
        EXPECT_EQ(Reread()->MaxTdiff.Text, kept) << typed;
    }
}

// Numbers beyond what the program holds read as 0, never as whatever the conversion makes of them.
TEST_F(SettingsTest, OutOfRangeNumbersInStillbeaconsSettingsReadAsZero) {
    const std::pair<const char*, int> cases[] = {
        {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}, {"2147483648", 0},
        {"-2147483649", 0},         {"99999999999999999999", 0},      {"3.7", 3}};
    for (const auto& [text, value] : cases) {
        WriteFileBytes(T.dir.file("Stillbeacon.ini"), std::string("CATEGORIZE ") + text + "\r\n");
        IniRead(F());
        EXPECT_EQ(F().Categorize, value) << text;
    }
}

// A settings file that cannot be replaced stays whole: the new one is written beside it and only
// renamed over it once complete.
TEST_F(SettingsTest, WriteThatCannotCompleteLeavesTheOldFileWhole) {
    const std::string old = "RRETRY=3\r\nUSERID=keep\r\nSAVEPW=1\r\n";
    WriteIni(old);
    F().SettingsChanged = true;
    F().RouterRetry.Text = "8";
    for (const FileCall call : {FileCall::Write, FileCall::Sync, FileCall::Rename}) {
        const FailingFileCall failing(call, 1);
        EXPECT_FALSE(IniWrite(F()));
        EXPECT_TRUE(F().SettingsChanged) << "a failed write must not look like a saved one";
        EXPECT_EQ(IniText(), old);
        EXPECT_EQ(QDir(QString::fromStdString(T.dir.path())).entryList(QDir::Files | QDir::Hidden).size(), 1)
            << "no half-written file left behind";
    }
    EXPECT_TRUE(IniWrite(F()));
    EXPECT_NE(IniText().find("\r\nRRETRY=8\r\n"), std::string::npos);
}

TEST(EncTest, ScramblesAndUnscramblesWithTheKey) {
    const std::string scrambled = Enc("abc", kKey, false);
    // 'a' ^ 0x7E, 'b' ^ 0x2A, 'c' ^ 0x91
    EXPECT_EQ(scrambled, "1F48F2");
    EXPECT_EQ(Enc(scrambled, kKey, true), "abc");
    EXPECT_EQ(Enc("", kKey, false), "");
    EXPECT_EQ(Enc("", kKey, true), "");

    // The key has 16 bytes: characters from the 17th on stay their plain codes.
    const std::string password = "abcdefghijklmnopWXYZ";
    const std::string long20 = Enc(password, kKey, false);
    ASSERT_EQ(long20.size(), 40u);
    EXPECT_EQ(long20.substr(32), "5758595A");
    EXPECT_EQ(Enc(long20, kKey, true), password);

    // Every byte survives, including those above 127 and those the key turns into zero.
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    const std::string hex = Enc(all, kKey, false);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(Enc(hex, kKey, true), all);
}

TEST(SettingsFiles, AnUnreadableSettingsFileIsReportedAndNotReplaced) {
    TestForm t;
    MainForm& F = t.F();
    ApplyDesignDefaults(F);
    WriteFileBytes(t.dir.file("Drovix.ini"), "RRETRY=3\r\n");
    F.AutoMode = true;
    {
        const FailingFileCall unreadable(FileCall::Open, 1, "Drovix.ini");
        IniRead(F);
    }
    ASSERT_EQ(t.frontend.messages.size(), 1u);
    EXPECT_EQ(t.frontend.messages[0].text,
              "Drovix could not read \"" + t.dir.file("Drovix.ini") + "\": Permission denied");
    EXPECT_FALSE(F.AutoMode) << "an unattended run must not go on without its settings";
    // What was there is not overwritten with the defaults.
    F.SettingsChanged = true;
    EXPECT_FALSE(IniWrite(F));
    EXPECT_TRUE(F.SettingsChanged);
    EXPECT_EQ(ReadFileBytes(t.dir.file("Drovix.ini")), "RRETRY=3\r\n");
}

// Widths the person dragged in the Incoming and Outgoing lists come back at the next start; the
// rest of each list is still fitted to the window.
TEST_F(SettingsTest, ColumnWidthsSetByHandAreKeptAcrossRestarts) {
    ListColumn_Resize(F(), F().InLog, 2, 3150);
    ListColumn_Resize(F(), F().OutLog, 4, 900);
    ASSERT_TRUE(IniWrite(F()));
    EXPECT_TRUE(FileHasKey("INCOLWIDTH"));
    const auto other = Reread();
    EXPECT_EQ(other->display.InLogWidths, (std::map<int, int>{{2, 3150}}));
    EXPECT_EQ(other->display.OutLogWidths, (std::map<int, int>{{4, 900}}));
    WriteIni("INCOLWIDTH=9 100\r\nINCOLWIDTH=1\r\nOUTCOLWIDTH=x 5\r\nOUTCOLWIDTH=3 -2\r\n");
    EXPECT_TRUE(Reread()->display.InLogWidths.empty());
    EXPECT_TRUE(Reread()->display.OutLogWidths.empty());
}

}  // namespace
