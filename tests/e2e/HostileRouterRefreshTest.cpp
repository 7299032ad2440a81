#include <gtest/gtest.h>

#include <QDir>

#include "DrovixProcess.h"
#include "RouterSim.h"
#include "TestFiles.h"
#include "app/Settings.h"

namespace {

const std::string kDayFile = "2026/12/06 08:14:22.40 I 198.51.100.23\xA0TCP 4123 127.0.0.100 80\r\n";

struct Outcome {
    DrovixRun run;
    QStringList files;
    std::string dayFile;
};

// One unattended System Log refresh with history files against a router started with options.
Outcome RefreshAgainst(const std::vector<std::string>& options) {
    RouterSim sim(options, "[syslog]\n2026-12-06 08:14:22 TCP from 198.51.100.23:4123 to 127.0.0.100:80\n");
    EXPECT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string sbDir = home.path() + "sblogs/";
    QDir().mkpath(QString::fromStdString(sbDir));
    WriteFileBytes(sbDir + "Log 2026-12-06.txt", kDayFile);
    WriteFileBytes(home.file("Stillbeacon.ini"), "LOGDIR " + sbDir + "\r\n");
    WriteFileBytes(home.file("Drovix.ini"), "PWE=" + Enc("admin", "7E2A91D04C6B3F58E0A7D2196B4C8F03", false) +
                                                "\r\nSAVEPW=1\r\nUSERID=admin\r\nADDRESS=" + sim.Address() +
                                                "\r\nRWAIT=1\r\nRRETRY=1\r\nSYSLOG=1\r\nSAVESYSLOG=1\r\n"
                                                "MNW=1\r\nINCLUDEALL=1\r\nCOMPSB=1\r\n");
    Outcome o;
    o.run = RunDrovix(home, {"/auto"});
    o.files = QDir(QString::fromStdString(home.path())).entryList(QDir::Files | QDir::NoDotAndDotDot);
    o.files += QDir(QString::fromStdString(sbDir)).entryList(QDir::Files);
    o.dayFile = ReadFileBytes(sbDir + "Log 2026-12-06.txt");
    return o;
}

}  // namespace

// Whatever a broken router sends, an unattended refresh ends, reports a failure with a non-zero
// status and leaves behind only what a refresh against a silent router leaves.
TEST(HostileRouterRefresh, EveryModeFailsLikeASilentRouterAndWritesNothingMore) {
    const Outcome silent = RefreshAgainst({"--empty"});
    ASSERT_EQ(silent.run.exitCode, 1) << silent.run.stdErr;
    ASSERT_EQ(silent.dayFile, kDayFile);
    for (const char* mode :
         {"endless", "huge", "garbage-status", "garbage-headers", "stall", "redirect", "binary"}) {
        const Outcome o = RefreshAgainst({"--hostile", mode});
        EXPECT_EQ(o.run.exitCode, 1) << mode << ": " << o.run.stdErr;
        EXPECT_FALSE(o.run.stdErr.empty()) << mode;
        EXPECT_EQ(o.run.stdOut, "") << mode;
        EXPECT_EQ(o.files, silent.files) << mode;
        EXPECT_EQ(o.dayFile, kDayFile) << mode;
    }
}
