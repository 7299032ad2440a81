// The syslog receiver, the real `drovix --listen` on loopback: how many messages a second it
// receives and writes to its capture file without losing one (bursts that fit the receive
// buffer, each waited for), what it keeps and drops when flooded, and its share of one core at
// 100 messages a second, a busy router. Prints its figures; not a test.
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <string>

#include "ListenProcess.h"
#include "TestFiles.h"

namespace {

// A router line of a typical length; the digits keep every message the same size.
std::string Message(int i) {
    char number[16];
    std::snprintf(number, sizeof number, "%08d", i);
    return std::string("<134>Dec  6 14:02:11 TCP from 198.51.100.7:4123 to 192.168.1.100:80 dropped ") +
           number;
}

// The capture line of Message(i): stamp and blank, the text after the 21 bytes of header, CR LF.
const long kLineBytes = static_cast<long>(20 + Message(0).size() - 21 + 2);

long CaptureBytes(const TempFolder& home) {
    long total = 0;
    for (const auto& [name, bytes] : FilesIn(home.path())) {
        if (name.starts_with("DXCapture ")) total += static_cast<long>(bytes.size());
    }
    return total;
}

// Bytes in today's capture file, without reading it.
long TodayBytes(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

// User and system CPU time of a process, in seconds.
double CpuSeconds(qint64 pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    for (int i = 1; i <= 13 && stat >> field; ++i) {
    }
    long user = 0, system = 0;
    stat >> user >> system;
    return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    TempFolder home;
    WriteFileBytes(home.file("Drovix.ini"), "ADDRESS=127.0.0.1\r\n");
    ListenProcess listener(home);
    if (!listener.Started()) {
        std::fprintf(stderr, "%s\n", listener.Error().c_str());
        return 1;
    }
    LoopbackSender sender(listener.Port());
    const std::string today =
        home.file("DXCapture " + QDate::currentDate().toString("yyyy-MM-dd").toStdString() + ".txt");
    int next = 0;

    // Sustained: bursts of 200, each written whole before the next is sent.
    constexpr int kBursts = 500, kBurst = 200;
    QElapsedTimer timer;
    timer.start();
    for (int b = 0; b < kBursts; ++b) {
        for (int i = 0; i < kBurst; ++i) sender.Datagram(Message(next++));
        const long want = static_cast<long>(next) * kLineBytes;
        while (TodayBytes(today) < want && timer.elapsed() < 120000) {
        }
    }
    const double sustained = kBursts * kBurst / (static_cast<double>(timer.nsecsElapsed()) / 1e9);
    std::printf(
        "sustained, nothing lost: %d messages in bursts of %d: %.0f messages/s received and written\n",
        kBursts * kBurst, kBurst, sustained);

    // Flooded: 200,000 as fast as this process can send them.
    const long before = CaptureBytes(home);
    timer.restart();
    constexpr int kFlood = 200000;
    for (int i = 0; i < kFlood; ++i) sender.Datagram(Message(next++));
    const double sendSeconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    long last = -1;
    while (CaptureBytes(home) != last) {
        last = CaptureBytes(home);
        QThread::msleep(300);
    }
    const long flooded = (last - before) / kLineBytes;
    std::printf("flood: %d sent in %.2f s (%.0f/s); %ld written (%.0f%%), the rest dropped under overload\n",
                kFlood, sendSeconds, kFlood / sendSeconds, flooded,
                100.0 * static_cast<double>(flooded) / kFlood);

    // A busy router: 100 messages a second for 20 seconds.
    const double cpuBefore = CpuSeconds(listener.Pid());
    timer.restart();
    for (int i = 0; i < 2000; ++i) {
        sender.Datagram(Message(next++));
        const qint64 due = (i + 1) * 10LL;
        if (due > timer.elapsed()) QThread::msleep(static_cast<unsigned long>(due - timer.elapsed()));
    }
    const double wall = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double cpu = CpuSeconds(listener.Pid()) - cpuBefore;
    std::printf("100 messages/s for %.1f s: %.3f s of CPU, %.2f%% of one core; peak memory %ld KiB\n", wall,
                cpu, 100.0 * cpu / wall, listener.PeakKiB());
    const DrovixRun stopped = listener.Stop();
    std::printf("%s", stopped.stdOut.c_str());
    return 0;
}
