#include <gtest/gtest.h>

#include <QDateTime>
#include <map>

#include "DrovixProcess.h"
#include "RouterSim.h"
#include "TestFiles.h"
#include "UnattendedHome.h"
#include "capture/RouterClockFile.h"

namespace {

// Everything an unattended run leaves behind: its status, its two streams and the bytes of every
// file in the program folder and in Stillbeacon's folder. The two settings files and the router
// clock file are named but not compared: they hold the time of the last export, the test's own
// folder and a clock offset that may differ by a second from run to run.
struct Outcome {
    int exitCode = -1;
    std::string out, err;
    std::map<std::string, std::string> files;
};

std::string Stamp(const QDateTime& t, const char* format) {
    return t.toString(format).toStdString();
}

// One unattended refresh with history, comparison and export on, against a simulator started with
// options. The router logs two inbound records of the last two hours; Stillbeacon has the first.
Outcome RefreshAgainst(std::vector<std::string> options, bool sysLogRouter) {
    static const QDateTime first = QDateTime::currentDateTime().addSecs(-90 * 60);
    const QDateTime second = first.addSecs(30 * 60);
    if (!sysLogRouter) options.push_back("--no-syslog");
    RouterSim sim(
        options,
        "[incoming]\n198.51.100.7|80\n[outgoing]\n192.168.1.100|www.example.com|HTTP\n[syslog]\n" +
            Stamp(first, "yyyy-MM-dd hh:mm:ss") + " TCP from 198.51.100.23:4123 to 127.0.0.100:80\n" +
            Stamp(second, "yyyy-MM-dd hh:mm:ss") + " TCP from 198.51.100.24:4123 to 127.0.0.100:80\n");
    EXPECT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string sbDir = PrepareUnattendedHome(
        home,
        "USERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nADDRESS=" + sim.Address() +
            "\r\nRWAIT=1\r\nRRETRY=1\r\nSYSLOG=1\r\nSAVESYSLOG=1\r\nMNW=1\r\nINCLUDEALL=1\r\nCOMPSB=1\r\n",
        {{"Log " + Stamp(first, "yyyy-MM-dd") + ".txt",
          Stamp(first, "yyyy/MM/dd hh:mm:ss") + ".40 I 198.51.100.23\xA0TCP 4123 127.0.0.100 80\r\n"}});
    const DrovixRun run = RunDrovix(home, {"/auto"});
    Outcome o{run.exitCode, run.stdOut, run.stdErr, FilesIn(home.path())};
    for (auto& [name, bytes] : o.files) {
        if (name.ends_with(".ini") || name == RouterClockFileName) bytes.clear();
        // The time the run ended is the one thing that differs between two runs alike.
        if (name == "DrovixLastRun.txt") bytes.erase(0, bytes.find("\r\n") + 2);
    }
    for (const auto& [name, bytes] : FilesIn(sbDir)) o.files["sb/" + name] = bytes;
    return o;
}

void ExpectSame(const Outcome& o, const Outcome& reference, const std::string& mode) {
    EXPECT_EQ(o.exitCode, reference.exitCode) << mode << ": " << o.err;
    EXPECT_EQ(o.out, reference.out) << mode;
    EXPECT_EQ(o.err, reference.err) << mode;
    EXPECT_EQ(o.files, reference.files) << mode;
}

// A refresh that read nothing: a non-zero status, the reason on standard error, no summary, and
// no file but the ones the test wrote, unchanged.
void ExpectFailedWithNothingWritten(const Outcome& o, const std::string& message, const std::string& mode) {
    EXPECT_EQ(o.exitCode, 1) << mode;
    EXPECT_EQ(o.out, "") << mode;
    EXPECT_NE(o.err.find(message), std::string::npos) << mode << ": " << o.err;
    // Drovix.ini, Stillbeacon.ini, the one day file and the record of how the run ended.
    EXPECT_EQ(o.files.size(), 4u) << mode;
    EXPECT_EQ(o.files.at("DrovixLastRun.txt").rfind("STATUS=1\r\nSUMMARY=" + message, 0), 0u) << mode;
    for (const auto& [name, bytes] : o.files) {
        if (name.starts_with("sb/")) {
            EXPECT_EQ(bytes.find("198.51.100.24"), std::string::npos) << mode;
        }
    }
}

}  // namespace

// Whatever a broken router sends, an unattended refresh ends: a page that goes on for ever or far
// past the limit is read up to the limit, which still holds the whole log, so the run is the
// normal one; an answer that is no page fails like a silent router; a page that is not a log
// table fails with its own reason instead of passing for an empty log.
TEST(HostileRouterRefresh, EveryModeReadsTheLogOrFailsWithoutWriting) {
    for (const bool sysLogRouter : {false, true}) {
        const std::string kind = sysLogRouter ? "System Log router, " : "standard router, ";
        const Outcome normal = RefreshAgainst({}, sysLogRouter);
        ASSERT_EQ(normal.exitCode, 0) << normal.err;
        ASSERT_EQ(normal.out.rfind(sysLogRouter ? "Drovix: system log 2 listed, 1 flagged; merged 1 line"
                                                : "Drovix: incoming 1 listed",
                                   0),
                  0u)
            << normal.out;
        for (const char* mode : {"endless", "huge", "garbage-headers"}) {
            ExpectSame(RefreshAgainst({"--hostile", mode}, sysLogRouter), normal, kind + mode);
        }
        for (const char* mode : {"garbage-status", "stall"}) {
            ExpectFailedWithNothingWritten(RefreshAgainst({"--hostile", mode}, sysLogRouter),
                                           "Can't contact the Router", kind + mode);
        }
        for (const char* mode : {"redirect", "binary"}) {
            ExpectFailedWithNothingWritten(
                RefreshAgainst({"--hostile", mode}, sysLogRouter),
                "Logs are empty or unavailable: the Router's pages hold no log table", kind + mode);
        }
    }
}
