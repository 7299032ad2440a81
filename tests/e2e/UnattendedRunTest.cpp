#include <gtest/gtest.h>

#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QProcessEnvironment>

#include "RouterSim.h"
#include "TestFiles.h"

namespace {

struct RunResult {
    int exitCode = -1;
    std::string stdErr;
};

// Runs the real drovix with no display, its program folder and per-user store in the test's folder.
RunResult RunDrovix(const TempFolder& home, const QStringList& args, const QString& qpaPlatform = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (!qpaPlatform.isEmpty()) env.insert("QT_QPA_PLATFORM", qpaPlatform);
    env.insert("DROVIX_HOME", QString::fromStdString(home.path()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path() + "config"));
    p.setProcessEnvironment(env);
    p.start(DROVIX_EXE_PATH, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << "drovix did not end";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardError().toStdString()};
}

QStringList Files(const TempFolder& folder) {
    return QDir(QString::fromStdString(folder.path()))
        .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

TEST(UnattendedRun, WithoutSettingsExitsAtOnceLeavingOnlyTheSettingsFile) {
    TempFolder home;
    const RunResult r = RunDrovix(home, {"/auto"});
    EXPECT_EQ(r.exitCode, 0) << r.stdErr;
    EXPECT_EQ(Files(home), QStringList{"Drovix.ini"});
    const std::string ini = ReadFileBytes(home.file("Drovix.ini"));
    EXPECT_EQ(ini.rfind("VERSION=", 0), 0u);
    EXPECT_NE(ini.find("\r\nCOLWIDTH=0 "), std::string::npos);
}

TEST(UnattendedRun, ASecondInstanceOnTheSameFolderIsRefused) {
    TempFolder home;
    QLockFile running(QString::fromStdString(home.file("Drovix.lock")));
    ASSERT_TRUE(running.tryLock(0));
    const RunResult r = RunDrovix(home, {"-AUTO"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.stdErr.find("Drovix is already running"), std::string::npos) << r.stdErr;
    EXPECT_FALSE(FileExists(home.file("Drovix.ini")));
}

TEST(UnattendedRun, WithoutADisplayAnInteractiveStartSaysSoAndFails) {
    TempFolder home;
    const RunResult r = RunDrovix(home, {});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.stdErr.find("display"), std::string::npos) << r.stdErr;
}

// A platform chosen for the desktop, carried into a scheduler's environment without a display.
TEST(UnattendedRun, APlatformThatNeedsADisplayWithoutOneCountsAsNoDisplay) {
    TempFolder home;
    const RunResult unattended = RunDrovix(home, {"/auto"}, "xcb");
    EXPECT_EQ(unattended.exitCode, 0) << unattended.stdErr;
    EXPECT_TRUE(FileExists(home.file("Drovix.ini")));
    const RunResult interactive = RunDrovix(home, {}, "xcb");
    EXPECT_EQ(interactive.exitCode, 2) << interactive.stdErr;
    EXPECT_NE(interactive.stdErr.find("display"), std::string::npos) << interactive.stdErr;
}

TEST(UnattendedRun, WrongPasswordIsReportedAndChangesNoFile) {
    RouterSim sim({"--password", "right-one"}, "[incoming]\n198.51.100.7|80\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    // An older settings file: the scrambled password moves into the per-user store when read.
    const std::string ini =
        "PWE=1A4BE2\r\nSAVEPW=1\r\nUSERID=admin\r\nADDRESS=" + sim.Address() + "\r\nRWAIT=2\r\nRRETRY=1\r\n";
    WriteFileBytes(home.file("Drovix.ini"), ini);
    const RunResult r = RunDrovix(home, {"/auto"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.stdErr.find("Can't contact the Router: Missing or invalid Password"), std::string::npos)
        << r.stdErr;
    EXPECT_EQ(ReadFileBytes(home.file("Drovix.ini")), ini);
    QStringList files = Files(home);
    files.removeAll("config");  // the per-user store, outside the program folder in real use
    EXPECT_EQ(files, QStringList{"Drovix.ini"});
}

}  // namespace
