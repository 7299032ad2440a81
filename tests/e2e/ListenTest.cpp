#include <gtest/gtest.h>

#include <unistd.h>
#include <QDateTime>
#include <QThread>
#include <algorithm>

#include "DrovixProcess.h"
#include "ListenProcess.h"
#include "RouterSim.h"
#include "TestFiles.h"
#include "UnattendedHome.h"
#include "app/CommandLine.h"
#include "capture/CaptureFiles.h"
#include "capture/RouterClockFile.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kListenOnly = "ADDRESS=127.0.0.1\r\n";

std::string Stopped(int written, int foreign) {
    return "drovix --listen: stopped; " + std::to_string(written) + " lines written, " +
           std::to_string(foreign) +
           " from other addresses dropped, 0 dropped under overload, 0 cut to 8192 bytes, 0 lost to failed "
           "writes\n";
}

// The capture lines' texts (the stamps cut off), leaving out those that start with `except`.
Lines Texts(const TempFolder& home, const std::string& except = "\n") {
    Lines texts;
    for (const std::string& line : AllCaptureLines(home.path())) {
        if (!line.substr(20).starts_with(except)) texts.push_back(line.substr(20));
    }
    return texts;
}

// Every capture file holds whole lines only: each with a stamp, no NUL, the last one ended.
void ExpectWholeLines(const TempFolder& home) {
    for (const auto& [name, bytes] : FilesIn(home.path())) {
        if (!name.starts_with("DXCapture ")) continue;
        EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
        EXPECT_EQ(bytes.find('\0'), std::string::npos) << name;
        EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
                  static_cast<long>(CaptureLines(bytes).size()));
    }
}

// The router (the simulator, sending RFC 5424) logs two lines between refreshes. A refresh beside
// the receiver measured the router's clock an hour behind, so a message without a dated header,
// by UDP or by TCP, is put in the router's time. A datagram from another address is dropped.
TEST(Listen, TheRoutersLinesArriveInThePageGrammar) {
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
    ListenProcess listener(home);
    ASSERT_TRUE(listener.Started()) << listener.Error();
    const std::string records = "[clock]\n-3600\n[syslog]\n2026-12-06 14:00:00 @sys System started\n";
    RouterSim sim({"--syslog-to", "127.0.0.1:" + std::to_string(listener.Port()), "--syslog-format", "5424"},
                  records);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    PrepareUnattendedHome(home, "USERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nADDRESS=" + sim.Address() +
                                    "\r\nRWAIT=5\r\nRRETRY=1\r\nSYSLOG=1\r\nINCLUDEALL=1\r\n");
    const DrovixRun refresh = RunDrovix(home, {"/auto"});
    ASSERT_EQ(refresh.exitCode, 0) << refresh.stdErr;
    const auto offset = ReadRouterClockOffset(home.path());
    // Measured, so a loaded machine may make it a little short of the hour.
    ASSERT_TRUE(offset && *offset > 3590 && *offset <= 3601) << offset.value_or(0);

    const Lines logged = {"2026-12-06 14:02:11 TCP from 198.51.100.7:4123 to 127.0.0.100:80 dropped",
                          "2026-12-06 14:03:00 UDP from 127.0.0.101:1030 to 198.51.100.53:53"};
    sim.SetRecords(records + logged[0] + "\n" + logged[1] + "\n");
    auto routerTime = [&](int slack) {
        return QDateTime::currentDateTime()
            .addSecs(-*offset + slack)
            .toString("yyyy-MM-dd hh:mm:ss")
            .toStdString();
    };
    const std::string before = routerTime(-1);
    LoopbackSender(listener.Port(), "127.0.0.2").Datagram("<134>Dec  6 14:04:00 from a stranger");
    LoopbackSender router(listener.Port());
    router.Datagram("<134>Dec  6 14:04:00 ICMP by UDP\n");
    const std::string message = "<134>Dec  6 14:04:01 TCP by TCP";
    ASSERT_TRUE(router.Stream(std::to_string(message.size()) + " " + message));
    ASSERT_TRUE(WaitUntil([&] { return AllCaptureLines(home.path()).size() == 4; }));
    const std::string after = routerTime(1);

    EXPECT_EQ(ReadFileBytes(home.file("DXCapture 2026-12-06.txt")), logged[0] + "\r\n" + logged[1] + "\r\n");
    Lines undated;
    for (const std::string& line : AllCaptureLines(home.path())) {
        if (line.starts_with("2026-12-06 14:0")) continue;
        undated.push_back(line.substr(20));
        EXPECT_TRUE(line.substr(0, 19) >= before && line.substr(0, 19) <= after) << line;
    }
    std::sort(undated.begin(), undated.end());
    EXPECT_EQ(undated, (Lines{"ICMP by UDP", "TCP by TCP"}));
    const DrovixRun stopped = listener.Stop();
    EXPECT_EQ(stopped.exitCode, 0) << stopped.stdErr;
    EXPECT_EQ(stopped.stdOut, Stopped(4, 1));
}

// A datagram of 64 KiB, one of arbitrary bytes and a flood of 100,000: every one is written or
// counted as dropped, every line is whole, and the receiver's memory does not grow with the load.
TEST(Listen, SurvivesHugeBinaryAndFloodedDatagramsInBoundedMemory) {
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
    ListenProcess listener(home);
    ASSERT_TRUE(listener.Started()) << listener.Error();
    const long startKiB = listener.PeakKiB();

    LoopbackSender router(listener.Port());
    router.Datagram(std::string(65507, 'x'));
    std::string binary, cleaned;
    for (int c = 1; c <= 256; ++c) {
        binary += static_cast<char>(c);
        cleaned += c == '\r' || c == '\n' || c == 256 ? ' ' : static_cast<char>(c);
    }
    router.Datagram(binary + "end");
    const int flood = 100000;
    for (int i = 0; i < flood; ++i) router.Datagram("<134>Dec  6 14:02:11 flood " + std::string(200, 'f'));
    size_t lines = 0;
    WaitUntil(
        [&] {
            size_t now = AllCaptureLines(home.path()).size();
            std::swap(now, lines);
            QThread::msleep(300);
            return now == lines;
        },
        60000);
    const long peakKiB = listener.PeakKiB();
    const DrovixRun stopped = listener.Stop();
    EXPECT_EQ(stopped.exitCode, 0) << stopped.stdErr;

    // The counts account for every datagram: written, or dropped by the system under overload.
    unsigned long long written = 0, foreign = 0, overload = 0, cut = 0;
    ASSERT_EQ(
        std::sscanf(stopped.stdOut.c_str(),
                    "drovix --listen: stopped; %llu lines written, %llu from other addresses dropped, %llu "
                    "dropped under overload, %llu cut",
                    &written, &foreign, &overload, &cut),
        4)
        << stopped.stdOut;
    EXPECT_EQ(written + overload, flood + 2u) << stopped.stdOut;
    EXPECT_EQ(cut, 1u);
    EXPECT_EQ(lines, written);
    std::printf(
        "[ listen   ] flood of %d: %llu written, %llu dropped; peak memory %ld KiB, before it %ld KiB\n",
        flood, written, overload, peakKiB, startKiB);
    EXPECT_LT(peakKiB - startKiB, 8 * 1024);
    ExpectWholeLines(home);
    const Lines texts = Texts(home, "flood");
    EXPECT_EQ(texts, (Lines{std::string(8192, 'x'), cleaned + "end"}));
}

// Killed in the middle of a flood, the receiver leaves whole lines; restarted (on the port LISTEN
// in Drovix.ini names), it goes on appending; only what the router sent while it was down is lost.
TEST(Listen, KilledAndRestartedLosesOnlyWhatCameWhileDown) {
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
    auto listener = std::make_unique<ListenProcess>(home);
    ASSERT_TRUE(listener->Started()) << listener->Error();
    const std::string at = "127.0.0.1:" + std::to_string(listener->Port());
    RouterSim sim({"--syslog-to", at}, "[syslog]\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();
    std::string records = "[syslog]\n";
    auto log = [&](const std::string& batch) {
        for (const char* second : {"01", "02", "03"})
            records += "2026-12-06 14:00:" + std::string(second) + " " + batch + "\n";
        sim.SetRecords(records);
    };

    log("before");
    ASSERT_TRUE(WaitUntil([&] { return Texts(home, "flood").size() == 3; }));
    LoopbackSender flood(listener->Port());
    for (int i = 0; i < 20000; ++i) {
        if (i == 10000) listener->Kill();
        flood.Datagram("<134>Dec  6 14:02:11 flood " + std::string(100, 'f'));
    }
    ExpectWholeLines(home);
    log("down");
    QThread::msleep(300);

    WriteFileBytes(home.file("Drovix.ini"), kListenOnly + "LISTEN=" + at + "\r\n");
    // The port is free again once the system lets go of it; another program may hold it meanwhile.
    ASSERT_TRUE(WaitUntil([&] { return (listener = std::make_unique<ListenProcess>(home, ""))->Started(); }))
        << listener->Error();
    log("after");
    ASSERT_TRUE(WaitUntil([&] { return Texts(home, "flood").size() == 6; }));
    EXPECT_EQ(Texts(home, "flood"), (Lines{"before", "before", "before", "after", "after", "after"}));
    EXPECT_EQ(listener->Stop().exitCode, 0);
}

// The router logs 200 lines between two refreshes and keeps only the newest 50 on its pages.
// Without the receiver the 150 it lost are missing from the history and from Stillbeacon's day
// file; with it none is, and none is there twice, also after another refresh.
TEST(Listen, TheCaptureFillsWhatTheRoutersLogLost) {
    const QDateTime start = QDateTime::currentDateTime();
    if (start.addSecs(-60).date() != start.addSecs(120).date()) GTEST_SKIP() << "too close to midnight";
    auto stamp = [](const QDateTime& at) { return at.toString("yyyy-MM-dd hh:mm:ss").toStdString(); };
    auto event = [](int port) { return ":" + std::to_string(port) + " to 127.0.0.100:80"; };
    std::string records = "[syslog]\n";
    for (int port = 1; port <= 3; ++port)
        records += stamp(start.addSecs(port - 60)) + " TCP from 198.51.100.1" + event(port) + "\n";
    for (const bool receiving : {false, true}) {
        TempFolder home;
        std::vector<std::string> options = {"--ring", "50"};
        std::unique_ptr<ListenProcess> listener;
        if (receiving) {
            WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
            listener = std::make_unique<ListenProcess>(home);
            ASSERT_TRUE(listener->Started()) << listener->Error();
            options.insert(options.end(), {"--syslog-to", "127.0.0.1:" + std::to_string(listener->Port())});
        }
        RouterSim sim(options, records);
        ASSERT_TRUE(sim.Started()) << sim.Error();
        const std::string sb = PrepareUnattendedHome(
            home, "USERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nADDRESS=" + sim.Address() +
                      "\r\nRWAIT=5\r\nRRETRY=1\r\nSYSLOG=1\r\nSAVESYSLOG=1\r\nINCLUDEDXHISTORY=1\r\nCOMPSB=1\r\n"
                      "INCLUDEALL=1\r\nSHOWIN=1\r\nSHOWOUT=1\r\nSHOWMSG=1\r\nSHOWWARNING=1\r\nSHOWIGNORED=1\r\n"
                      "MAXTIMEDIFF=2\r\n");
        ASSERT_EQ(RunDrovix(home, {"/auto"}).exitCode, 0);

        std::string burst, latest;
        for (int port = 4000; port < 4200; ++port) {
            latest = stamp(QDateTime::currentDateTime());
            burst += latest + " TCP from 198.51.100.7" + event(port) + "\n";
        }
        sim.SetRecords(records + burst);
        if (receiving) {
            ASSERT_TRUE(WaitUntil([&] { return AllCaptureLines(home.path()).size() == 200; }));
            latest = std::max(latest, AllCaptureLines(home.path()).back().substr(0, 19));
        }
        // The refresh comes after the burst: a refresh stores no line of the router's newest
        // second, nor of a second the router's clock (taken a second short) has not passed.
        ASSERT_TRUE(WaitUntil([&] { return stamp(QDateTime::currentDateTime().addSecs(-2)) > latest; }));
        const std::string day = "Log " + stamp(start).substr(0, 10) + ".txt";
        const DrovixRun second = RunDrovix(home, {"/auto"});
        EXPECT_EQ(second.stdOut, receiving ? "Drovix: system log 203 listed (150 from the syslog capture), 200 "
                                             "flagged; merged 200 lines into " + day + " (200); exported 0 lines\n"
                                           : "Drovix: system log 53 listed, 50 flagged; merged 50 lines into " +
                                                 day + " (50); exported 0 lines\n")
            << second.stdErr;

        // Each event of the burst, in the history and in Stillbeacon's day file.
        auto count = [](const std::string& text, const std::string& what) {
            int n = 0;
            for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
            return n;
        };
        auto history = [&] {
            std::string all;
            for (const auto& [name, bytes] : FilesIn(sb))
                if (name.starts_with("DXLog ")) all += bytes;
            return all;
        };
        const std::string kept = history(), merged = ReadFileBytes(sb + day);
        for (int port = 4000; port < 4200; ++port) {
            const int expected = receiving || port >= 4150 ? 1 : 0;
            EXPECT_EQ(count(kept, event(port) + "\r\n"), expected) << "history, port " << port;
            EXPECT_EQ(count(merged, "\t" + std::to_string(port) + "\t127.0.0.100\t80\r\n"), expected)
                << day << ", port " << port;
        }
        EXPECT_EQ(count(kept, "\r\n"), receiving ? 203 : 53);

        const DrovixRun third = RunDrovix(home, {"/auto"});
        EXPECT_EQ(third.stdOut, "Drovix: system log " + std::string(receiving ? "203" : "53") +
                                    " listed, 0 flagged; merged 0 lines; exported 0 lines\n")
            << third.stdErr;
        EXPECT_EQ(history(), kept);
        EXPECT_EQ(ReadFileBytes(sb + day), merged);
        if (receiving) {
            EXPECT_EQ(listener->Stop().exitCode, 0);
        }
    }
}

// A port in use is told and gives its own status; a socket a service manager handed over (a
// systemd socket unit, for port 514) is taken instead of binding one.
TEST(Listen, APortInUseFailsAndAHandedOverSocketIsUsed) {
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
    int port = 0;
    const int taken = OpenDatagramSocket(port);
    const std::string at = "127.0.0.1:" + std::to_string(port);

    const DrovixRun refused = RunDrovix(home, {"--listen", QString::fromStdString(at)});
    EXPECT_EQ(refused.exitCode, kExitCannotListen);
    EXPECT_NE(refused.stdErr.find("cannot receive on " + at), std::string::npos) << refused.stdErr;

    ListenProcess activated(home, {}, "/bin/sh",
                            {"-c", "LISTEN_PID=$$ LISTEN_FDS=1 exec \"$0\" --listen", DROVIX_EXE_PATH},
                            [taken] { ::dup2(taken, 3); });
    ASSERT_TRUE(activated.Started()) << activated.Error();
    EXPECT_EQ(activated.Port(), port);
    LoopbackSender(port).Datagram("<134>Dec  6 14:02:11 handed over");
    EXPECT_TRUE(WaitUntil([&] { return Texts(home).size() == 1; }));
    EXPECT_EQ(activated.Stop().stdOut, Stopped(1, 0));
    ::close(taken);
}

}  // namespace
