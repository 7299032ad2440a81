#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTcpServer>

#include "DrovixProcess.h"
#include "RouterSim.h"
#include "TestFiles.h"
#include "UnattendedHome.h"
#include "app/CommandLine.h"
#include "app/Settings.h"

namespace {

QStringList Files(const TempFolder& folder) {
    return QDir(QString::fromStdString(folder.path()))
        .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

// Without a display, also when a platform chosen for the desktop is carried into a scheduler's
// environment: an unattended run without settings ends at once leaving only the settings file and
// the record of how it ended, and fails, saying what it lacks (a scheduled run that never
// refreshes must not look healthy); an interactive start says it needs a display and fails.
TEST(UnattendedRun, WithoutADisplayOnlyUnattendedRunsWork) {
    for (const Face face : {Face::Headless, Face::DesktopPlatformWithoutDisplay}) {
        TempFolder home;
        const DrovixRun r = RunDrovix(home, {"/auto"}, face);
        EXPECT_EQ(r.exitCode, kExitNotSetUp) << r.stdErr;
        EXPECT_EQ(r.stdOut, "");
        EXPECT_EQ(r.stdErr,
                  "Drovix cannot run unattended: no router address in " + home.file("Drovix.ini") +
                      " and no saved router password in " + home.file("config/Stillbeacon/Drovix.conf") +
                      "; start drovix, enter them in the options, check \"Save Password\" and press OK\n");
        // Besides the settings file, only the record of how the run ended, for the window's status line.
        EXPECT_EQ(Files(home), (QStringList{"Drovix.ini", "DrovixLastRun.txt"}));
        EXPECT_NE(ReadFileBytes(home.file("DrovixLastRun.txt"))
                      .find("\r\nSTATUS=4\r\nSUMMARY=" + r.stdErr.substr(0, 40)),
                  std::string::npos);
        const std::string ini = ReadFileBytes(home.file("Drovix.ini"));
        EXPECT_EQ(ini.rfind("VERSION=", 0), 0u);
        EXPECT_NE(ini.find("\r\nCOLWIDTH=0 "), std::string::npos);

        const DrovixRun interactive = RunDrovix(home, {}, face);
        EXPECT_EQ(interactive.exitCode, 2) << interactive.stdErr;
        EXPECT_NE(interactive.stdErr.find("display"), std::string::npos) << interactive.stdErr;
    }
}

TEST(UnattendedRun, WrongPasswordIsReportedAndChangesNoFile) {
    RouterSim sim({"--password", "right-one"}, "[incoming]\n198.51.100.7|80\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    // An older settings file: the scrambled password moves into the per-user store when read.
    const std::string ini =
        "PWE=1A4BE2\r\nSAVEPW=1\r\nUSERID=admin\r\nADDRESS=" + sim.Address() + "\r\nRWAIT=2\r\nRRETRY=1\r\n";
    WriteFileBytes(home.file("Drovix.ini"), ini);
    const DrovixRun r = RunDrovix(home, {"/auto"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.stdOut, "");  // a run that met a problem prints no summary
    EXPECT_NE(r.stdErr.find("Can't contact the Router: Missing or invalid Password"), std::string::npos)
        << r.stdErr;
    EXPECT_EQ(ReadFileBytes(home.file("Drovix.ini")), ini);
    QStringList files = Files(home);
    files.removeAll("config");  // the per-user store, outside the program folder in real use
    EXPECT_EQ(files, (QStringList{"Drovix.ini", "DrovixLastRun.txt"}));
    // The store holds the password: for its owner only, and so are the folders made for it.
    for (const auto& [path, mode] : {std::pair{home.file("config"), 0700},
                                     {home.file("config/Stillbeacon"), 0700},
                                     {home.file("config/Stillbeacon/Drovix.conf"), 0600}}) {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        EXPECT_EQ(st.st_mode & 0777, static_cast<mode_t>(mode)) << path;
    }
}

// A router that cannot be reached is named with the reason, on the one line a scheduler's journal
// keeps, and the run's record says the same.
TEST(UnattendedRun, AnUnreachableRouterIsNamedWithItsAddressAndTheReason) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const std::string address = "127.0.0.1:" + std::to_string(closed.serverPort());
    closed.close();  // nothing listens there any more: the connection is refused
    TempFolder home;
    PrepareUnattendedHome(home, "PWE=" + Enc("s3cret", "7E2A91D04C6B3F58E0A7D2196B4C8F03", false) +
                                    "\r\nSAVEPW=1\r\nADDRESS=" + address + "\r\nRWAIT=2\r\nRRETRY=1\r\n");
    const DrovixRun r = RunDrovix(home, {"/auto"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.stdOut, "");
    const std::string message = "Can't contact the Router at " + address + ": connection refused";
    EXPECT_EQ(r.stdErr, message + "\n");
    EXPECT_NE(
        ReadFileBytes(home.file("DrovixLastRun.txt")).find("\r\nSTATUS=1\r\nSUMMARY=" + message + "\r\n"),
        std::string::npos);
}

// The scenario whose colours the standard-log simulator test establishes: Stillbeacon's day file
// lacks one of the three incoming and one of the two outgoing records.
TEST(UnattendedRun, SummaryLineTellsWhatBothFacesListedAndWrote) {
    RouterSim sim({"--no-syslog", "--user", "drovix", "--password", "s3cret"},
                  "[incoming]\n198.51.100.23|80\n203.0.113.150|1433\n198.51.100.77|21\n\n"
                  "[outgoing]\n192.168.1.100|www.example.com|HTTP\n192.168.1.101|mail.example.net|pop3\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string dayFile =
        "2026/12/06 07:00:00.00 O 203.0.113.40 ftp 192.168.1.102 1101\r\n"
        "2026/12/06 08:00:00.00 I 198.51.100.77 3000 192.168.1.100 21\r\n"
        "2026/12/06 10:00:00.00 I 198.51.100.23 4000 192.168.1.100 80\r\n"
        "2026/12/06 11:10:00.00 O www.example.com http 192.168.1.100 1102\r\n";
    const std::string sbDir =
        PrepareUnattendedHome(home,
                              "PWE=" + Enc("s3cret", "7E2A91D04C6B3F58E0A7D2196B4C8F03", false) +
                                  "\r\nSAVEPW=1\r\nUSERID=drovix\r\nADDRESS=" + sim.Address() +
                                  "\r\nCOMPSB=1\r\nRWAIT=5\r\nRRETRY=1\r\n",
                              {{"Log 2026-12-06.txt", dayFile}});

    const std::string line =
        "Drovix: incoming 3 listed, 1 flagged; outgoing 2 listed, 1 flagged; merged 0 lines; exported 0 "
        "lines";
    for (const Face face : {Face::Headless, Face::OffscreenWindow}) {
        const DrovixRun r = RunDrovix(home, {"/auto"}, face);
        EXPECT_EQ(r.exitCode, 0) << r.stdErr;
        EXPECT_EQ(r.stdOut, line + "\n");
        // The window's status line learns the same from the run's record.
        EXPECT_NE(
            ReadFileBytes(home.file("DrovixLastRun.txt")).find("\r\nSTATUS=0\r\nSUMMARY=" + line + "\r\n"),
            std::string::npos);
    }
    // A record that cannot be written changes neither the exit status nor the line.
    QDir().mkpath(QString::fromStdString(home.file("blocked")));
    QFile::remove(QString::fromStdString(home.file("DrovixLastRun.txt")));
    ASSERT_TRUE(QDir().rename(QString::fromStdString(home.file("blocked")),
                              QString::fromStdString(home.file("DrovixLastRun.txt"))));
    const DrovixRun blocked = RunDrovix(home, {"/auto"});
    EXPECT_EQ(blocked.exitCode, 0) << blocked.stdErr;
    EXPECT_EQ(blocked.stdOut, line + "\n");
    EXPECT_EQ(blocked.stdErr, "");
    QDir(QString::fromStdString(home.file("DrovixLastRun.txt"))).removeRecursively();
    // Unattended runs save nothing from the standard logs, as the line says.
    EXPECT_EQ(FilesIn(sbDir), (std::map<std::string, std::string>{{"Log 2026-12-06.txt", dayFile}}));
    EXPECT_FALSE(FileExists(home.file("SBmNW.log")));

    // Without Stillbeacon's folder nothing is compared; the line says so rather than "0 flagged".
    WriteFileBytes(home.file("Stillbeacon.ini"), "LOGDIR " + home.path() + "gone\r\n");
    const DrovixRun r = RunDrovix(home, {"/auto"});
    EXPECT_EQ(r.exitCode, 0) << r.stdErr;
    EXPECT_EQ(r.stdOut,
              "Drovix: incoming 3 listed; outgoing 2 listed; not compared: Stillbeacon's log folder \"" +
                  home.path() + "gone/\" (LOGDIR in \"" + home.path() +
                  "Stillbeacon.ini\") does not exist; merged 0 lines; exported 0 lines\n");
}

}  // namespace
