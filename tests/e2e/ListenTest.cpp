#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QDateTime>
#include <QThread>
#include <algorithm>

#include "DrovixProcess.h"
#include "ListenProcess.h"
#include "RouterSim.h"
#include "TestFiles.h"
#include "UnattendedHome.h"
#include "capture/CaptureFiles.h"
#include "capture/RouterClockFile.h"

namespace {

const std::string kListenOnly = "ADDRESS=127.0.0.1\r\n";

std::string Stopped(uint64_t written, uint64_t foreign, uint64_t overload, uint64_t cut) {
    return "drovix --listen: stopped; " + std::to_string(written) + " lines written, " +
           std::to_string(foreign) + " from other addresses dropped, " + std::to_string(overload) +
           " dropped under overload, " + std::to_string(cut) +
           " cut to 8192 bytes, 0 lost to failed writes\n";
}

std::vector<std::string> Texts(const std::vector<std::string>& lines) {
    std::vector<std::string> texts;
    for (const std::string& line : lines) texts.push_back(line.substr(20));
    return texts;
}

std::string Stamp(const QDateTime& t) {
    return t.toString("yyyy-MM-dd hh:mm:ss").toStdString();
}

// Every line of the capture file is whole: a stamp, no NUL, ended by CR LF.
void ExpectWholeLines(const std::string& bytes) {
    EXPECT_TRUE(bytes.empty() || bytes.ends_with("\r\n"));
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), static_cast<long>(CaptureLines(bytes).size()));
}

// The router (the simulator, sending RFC 5424) logs two lines between refreshes; a refresh has
// measured its clock an hour behind, so a message without a dated header, by UDP or by TCP, is put
// in the router's time; a datagram from another address is dropped and counted.
TEST(Listen, TheRoutersLinesArriveInThePageGrammar) {
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
    ListenProcess listener(home);
    ASSERT_TRUE(listener.Started()) << listener.Error();
    const std::string records = "[clock]\n-3600\n[syslog]\n2026-12-06 14:00:00 @sys System started\n";
    RouterSim sim({"--syslog-to", "127.0.0.1:" + std::to_string(listener.Port()), "--syslog-format", "5424"},
                  records);
    ASSERT_TRUE(sim.Started()) << sim.Error();

    // An unattended refresh beside the receiver leaves the offset it measured.
    PrepareUnattendedHome(home, "USERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nADDRESS=" + sim.Address() +
                                    "\r\nRWAIT=5\r\nRRETRY=1\r\nSYSLOG=1\r\nINCLUDEALL=1\r\n");
    const DrovixRun refresh = RunDrovix(home, {"/auto"});
    ASSERT_EQ(refresh.exitCode, 0) << refresh.stdErr;
    const auto offset = ReadRouterClockOffset(home.path());
    // Measured, so a loaded machine may make it a little short of the hour.
    ASSERT_TRUE(offset && *offset > 3590 && *offset <= 3601) << offset.value_or(0);

    const std::vector<std::string> logged = {
        "2026-12-06 14:02:11 TCP from 198.51.100.7:4123 to 127.0.0.100:80 dropped",
        "2026-12-06 14:03:00 UDP from 127.0.0.101:1030 to 198.51.100.53:53"};
    sim.SetRecords(records + logged[0] + "\n" + logged[1] + "\n");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-*offset - 1);
    SendDatagram("127.0.0.2", listener.Port(), "<134>Dec  6 14:04:00 from a stranger");
    SendDatagram("127.0.0.1", listener.Port(), "<134>Dec  6 14:04:00 ICMP by UDP\n");
    const int tcp = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(listener.Port()));
    ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    ASSERT_EQ(::connect(tcp, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    const std::string message = "<134>Dec  6 14:04:01 TCP by TCP";
    const std::string frame = std::to_string(message.size()) + " " + message;
    ASSERT_EQ(::send(tcp, frame.data(), frame.size(), 0), static_cast<ssize_t>(frame.size()));
    ::close(tcp);
    ASSERT_TRUE(WaitUntil([&] { return AllCaptureLines(home.path()).size() == 4; }))
        << ReadFileBytes(home.file("DXCapture 2026-12-06.txt"));
    const QDateTime after = QDateTime::currentDateTime().addSecs(-*offset + 1);

    EXPECT_EQ(ReadFileBytes(home.file("DXCapture 2026-12-06.txt")), logged[0] + "\r\n" + logged[1] + "\r\n");
    std::vector<std::string> undated;
    for (const std::string& line : AllCaptureLines(home.path())) {
        if (line.starts_with("2026-12-06 14:0")) continue;
        undated.push_back(line.substr(20));
        EXPECT_TRUE(line.substr(0, 19) >= Stamp(before) && line.substr(0, 19) <= Stamp(after)) << line;
    }
    std::sort(undated.begin(), undated.end());
    EXPECT_EQ(undated, (std::vector<std::string>{"ICMP by UDP", "TCP by TCP"}));
    const DrovixRun stopped = listener.Stop();
    EXPECT_EQ(stopped.exitCode, 0) << stopped.stdErr;
    EXPECT_EQ(stopped.stdOut, Stopped(4, 1, 0, 0));
}

// A datagram of 64 KiB, one of arbitrary bytes and a flood of 100,000: every one is written or
// counted as dropped, every line is whole, and the receiver's memory does not grow with the load.
TEST(Listen, SurvivesHugeBinaryAndFloodedDatagramsInBoundedMemory) {
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
    ListenProcess listener(home);
    ASSERT_TRUE(listener.Started()) << listener.Error();
    const long startKiB = listener.PeakKiB();

    SendDatagram("127.0.0.1", listener.Port(), std::string(65507, 'x'));
    std::string binary;
    for (int i = 1; i < 256; ++i) binary += static_cast<char>(i);
    binary += '\0';
    SendDatagram("127.0.0.1", listener.Port(), binary);
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(listener.Port()));
    ::inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    const int flood = 100000;
    for (int i = 0; i < flood; ++i) {
        const std::string message =
            "<134>Dec  6 14:02:11 flood " + std::to_string(i) + " " + std::string(200, 'f');
        ::sendto(fd, message.data(), message.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    ::close(fd);
    size_t lines = 0;
    WaitUntil(
        [&] {
            const size_t now = AllCaptureLines(home.path()).size();
            const bool settled = now == lines;
            lines = now;
            QThread::msleep(300);
            return settled;
        },
        60000);
    const long peakKiB = listener.PeakKiB();
    const DrovixRun stopped = listener.Stop();
    EXPECT_EQ(stopped.exitCode, 0) << stopped.stdErr;

    // The summary accounts for every datagram: written, or dropped by the system under overload.
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
        "[ listen   ] flood of %d: %llu written, %llu dropped under overload; peak memory %ld KiB -> %ld "
        "KiB\n",
        flood, written, overload, startKiB, peakKiB);
    EXPECT_LT(peakKiB - startKiB, 8 * 1024);

    std::string text;
    for (const auto& [name, bytes] : FilesIn(home.path())) {
        if (!name.starts_with("DXCapture ")) continue;
        ExpectWholeLines(bytes);
        text += bytes;
    }
    EXPECT_NE(text.find(" " + std::string(8192, 'x') + "\r\n"), std::string::npos);
    std::string cleaned = binary.substr(0, 255);
    std::replace(cleaned.begin(), cleaned.end(), '\n', ' ');
    std::replace(cleaned.begin(), cleaned.end(), '\r', ' ');
    EXPECT_NE(text.find(" " + cleaned + "\r\n"), std::string::npos);
}

// Killed in the middle of a flood, the receiver leaves whole lines; restarted (on the port LISTEN
// in Drovix.ini names), it goes on appending; only what the router sent while it was down is
// missing.
TEST(Listen, KilledAndRestartedLosesOnlyWhatCameWhileDown) {
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
    auto listener = std::make_unique<ListenProcess>(home);
    ASSERT_TRUE(listener->Started()) << listener->Error();
    const int port = listener->Port();
    const std::string at = "127.0.0.1:" + std::to_string(port);
    RouterSim sim({"--syslog-to", at}, "[syslog]\n");
    ASSERT_TRUE(sim.Started()) << sim.Error();

    std::string records = "[syslog]\n";
    auto log = [&](const std::string& batch) {
        for (int i = 1; i <= 3; ++i)
            records +=
                "2026-12-06 14:0" + std::to_string(i) + ":00 " + batch + " " + std::to_string(i) + "\n";
        sim.SetRecords(records);
    };
    auto routerTexts = [&] {
        std::vector<std::string> texts;
        for (const std::string& t : Texts(AllCaptureLines(home.path())))
            if (!t.starts_with("flood")) texts.push_back(t);
        return texts;
    };
    log("before");
    ASSERT_TRUE(WaitUntil([&] { return routerTexts().size() == 3; }));

    const std::string flood = "<134>Dec  6 14:02:11 flood " + std::string(100, 'f');
    for (int i = 0; i < 20000; ++i) {
        if (i == 10000) listener->Kill();
        SendDatagram("127.0.0.1", port, flood);
    }
    for (const auto& [name, bytes] : FilesIn(home.path())) {
        if (name.starts_with("DXCapture ")) ExpectWholeLines(bytes);
    }
    log("down");
    QThread::msleep(300);

    WriteFileBytes(home.file("Drovix.ini"), kListenOnly + "LISTEN=" + at + "\r\n");
    // The port is free again once the system lets go of it; another program may hold it for a
    // moment meanwhile.
    ASSERT_TRUE(WaitUntil([&] { return (listener = std::make_unique<ListenProcess>(home, ""))->Started(); }))
        << listener->Error();
    log("after");
    ASSERT_TRUE(WaitUntil([&] { return routerTexts().size() == 6; })) << routerTexts().size();
    EXPECT_EQ(routerTexts(), (std::vector<std::string>{"before 1", "before 2", "before 3", "after 1",
                                                       "after 2", "after 3"}));
    EXPECT_EQ(listener->Stop().exitCode, 0);
}

// A port in use is told and gives its own status; a socket a service manager handed over (a
// systemd socket unit, for port 514) is taken instead of binding one.
TEST(Listen, APortInUseFailsAndAHandedOverSocketIsUsed) {
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), kListenOnly);
    const int taken = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    ASSERT_EQ(::bind(taken, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    socklen_t length = sizeof address;
    ::getsockname(taken, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string port = std::to_string(ntohs(address.sin_port));

    const DrovixRun refused = RunDrovix(home, {"--listen", QString::fromStdString("127.0.0.1:" + port)});
    EXPECT_EQ(refused.exitCode, 4);
    EXPECT_NE(refused.stdErr.find("cannot receive on 127.0.0.1:" + port), std::string::npos)
        << refused.stdErr;

    ListenProcess activated(home, {}, "/bin/sh",
                            {"-c", "LISTEN_PID=$$ LISTEN_FDS=1 exec \"$0\" --listen", DROVIX_EXE_PATH},
                            [taken] { ::dup2(taken, 3); });
    ASSERT_TRUE(activated.Started()) << activated.Error();
    EXPECT_EQ(std::to_string(activated.Port()), port);
    SendDatagram("127.0.0.1", std::stoi(port), "<134>Dec  6 14:02:11 handed over");
    EXPECT_TRUE(WaitUntil([&] { return AllCaptureLines(home.path()).size() == 1; }));
    EXPECT_EQ(activated.Stop().stdOut, Stopped(1, 0, 0, 0));
    ::close(taken);
}

}  // namespace
