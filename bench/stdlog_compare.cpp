// Times the comparison of full router tables with a month of Stillbeacon day files, and a whole
// standard-router refresh (both tables fetched from drovix-routersim, parsed and compared),
// against the time it takes only to read those files. Prints its figures and the peak memory;
// not a test.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Clock.h"
#include "app/FileBytes.h"
#include "app/MainForm.h"
#include "app/SilentFrontend.h"
#include "router/PageFetcher.h"
#include "stdlog/CompareSBLogs.h"
#include "stdlog/SbLogFolder.h"
#include "stdlog/StdLogParser.h"

namespace {

constexpr int kFiles = 30;
constexpr int kLinesPerFile = 50000;
constexpr int kRouterRows = 50;

std::string Addr(int a, int b) {
    return "198.51." + std::to_string(a % 256) + "." + std::to_string(b % 256);
}

// A Stillbeacon day: blank and tab form records, both directions, a few messages. With
// incoming false the day holds no incoming record, so the incoming list is never done and the
// walk has to go through every file.
std::string DayFile(int day, bool incoming) {
    std::string text;
    text.reserve(static_cast<std::size_t>(kLinesPerFile) * 80);
    char stamp[32];
    for (int i = 0; i < kLinesPerFile; ++i) {
        const int secs = static_cast<int>(static_cast<long long>(i) * 86400 / kLinesPerFile);
        std::snprintf(stamp, sizeof stamp, "2026/11/%02d %02d:%02d:%02d.00", day, secs / 3600, secs / 60 % 60,
                      secs % 60);
        // The records of every fourth router row (see FillRouterTables) never reached Stillbeacon.
        const int routerRow = (kLinesPerFile - i + 1) / 2;
        const bool lost = day == kFiles && routerRow >= 1 && routerRow <= kRouterRows && routerRow % 4 == 0;
        if (i % 50 == 0 || lost) {
            text += std::string(stamp) + " M Router sent a message I did not expect\r\n";
        } else if (incoming && i % 2 == 0) {
            text += std::string(stamp) + " I " + Addr(i, day) + "\xA0TCP " + std::to_string(1024 + i % 5000) +
                    " 192.168.1.100 " + std::to_string(i % 1024) + "\r\n";
        } else {
            std::string tabStamp = stamp;
            tabStamp[10] = '\t';
            text += tabStamp + "\tO\tTCP\t" + Addr(i + 7, day) + "\thost" + std::to_string(i) +
                    ".example.net\t80\t192.168.1.101\t" + std::to_string(1024 + i % 5000) + "\r\n";
        }
    }
    return text;
}

void FillRouterTables(MainForm& F, int firstDay) {
    F.InLog.SetCols(4);
    F.OutLog.SetCols(5);
    F.InLog.SetRows(kRouterRows + 1);
    F.OutLog.SetRows(kRouterRows + 1);
    // The newest records of the last day, newest first, as the router lists them; every fourth
    // one is missing from Stillbeacon's file.
    for (int r = 1; r <= kRouterRows; ++r) {
        const int i = kLinesPerFile - 2 * r;
        const bool missing = r % 4 == 0;
        F.InLog.SetTextMatrix(r, 2, missing ? "203.0.113." + std::to_string(r) : Addr(i, firstDay));
        F.InLog.SetTextMatrix(r, 3, std::to_string(i % 1024));
        F.OutLog.SetTextMatrix(r, 2, "192.168.1.101");
        F.OutLog.SetTextMatrix(r, 3, missing ? "www.example.org" : Addr(i + 1 + 7, firstDay));
        F.OutLog.SetTextMatrix(r, 4, "80");
    }
}

double ReadAllMs(const std::string& folder) {
    QElapsedTimer timer;
    timer.start();
    std::string buffer;
    std::size_t lines = 0;
    const auto names = ListSbLogFiles(folder);
    for (const auto& name : *names) {
        ReadFileBytes(folder + name, buffer);
        for (const char* p = buffer.data();
             (p = static_cast<const char*>(std::memchr(p, '\n', buffer.data() + buffer.size() - p))); ++p)
            ++lines;
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (lines != static_cast<std::size_t>(kFiles) * kLinesPerFile)
        std::printf("unexpected line count %zu\n", lines);
    return ms;
}

double CompareMs(MainForm& F, int& flagged) {
    QElapsedTimer timer;
    timer.start();
    CompareSBLogs(F);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    flagged = F.stdlog.InFlagCount + F.stdlog.OutFlagCount;
    return ms;
}

// The same router rows as FillRouterTables, as the simulator's records file.
std::string RouterRecords(int firstDay) {
    std::string in = "[incoming]\n", out = "[outgoing]\n";
    for (int r = 1; r <= kRouterRows; ++r) {
        const int i = kLinesPerFile - 2 * r;
        const bool missing = r % 4 == 0;
        in += (missing ? "203.0.113." + std::to_string(r) : Addr(i, firstDay)) + "|" +
              std::to_string(i % 1024) + "\n";
        out += "192.168.1.101|" + (missing ? std::string("www.example.org") : Addr(i + 1 + 7, firstDay)) +
               "|80\n";
    }
    return in + out;
}

long PeakKiB() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// drovix-routersim from the build folder on a free loopback port; empty when it did not start.
std::string StartSimulator(QProcess& sim, const std::string& recordsPath) {
    sim.start(QCoreApplication::applicationDirPath() + "/../drovix-routersim",
              {"--port", "0", "--records", QString::fromStdString(recordsPath), "--no-syslog"});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) return {};
    const std::string line = sim.readLine().trimmed().toStdString();
    const std::string prefix = "listening ";
    return line.rfind(prefix, 0) == 0 ? "http://" + line.substr(prefix.size()) : std::string();
}

double Best(int runs, auto&& f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) best = std::min(best, f());
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    SilentFrontend frontend;
    SystemClock clock;

    for (bool incoming : {true, false}) {
        QTemporaryDir dir;
        const std::string folder = QDir(dir.path()).absolutePath().toStdString() + "/";
        std::size_t bytes = 0;
        for (int day = 1; day <= kFiles; ++day) {
            const std::string text = DayFile(day, incoming);
            bytes += text.size();
            char name[40];
            std::snprintf(name, sizeof name, "Log 2026-11-%02d.txt", day);
            QFile f(QString::fromStdString(folder + name));
            f.open(QIODevice::WriteOnly);
            f.write(text.data(), static_cast<qint64>(text.size()));
        }
        MainForm F(frontend, clock);
        F.SbLogDir = folder;
        F.CompSB.Value = true;
        F.CompDX.Value = true;

        const double readMs = Best(5, [&] { return ReadAllMs(folder); });
        int flagged = 0;
        const double compareMs = Best(5, [&] {
            FillRouterTables(F, kFiles);
            return CompareMs(F, flagged);
        });
        std::printf("%s\n", incoming
                                ? "Router records among the newest lines (the walk ends in the newest file):"
                                : "No incoming record in any file (the walk reads every file):");
        std::printf("  %d files x %d lines, %.1f MB; router tables %d + %d rows\n", kFiles, kLinesPerFile,
                    static_cast<double>(bytes) / 1e6, kRouterRows, kRouterRows);
        std::printf("  read all files only: %8.1f ms\n", readMs);
        std::printf("  CompareSBLogs:       %8.1f ms  (%d rows flagged)\n", compareMs, flagged);

        const std::string records = folder + "records.txt";
        {
            QFile f(QString::fromStdString(records));
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray::fromStdString(RouterRecords(kFiles)));
        }
        QProcess sim;
        const std::string base = StartSimulator(sim, records);
        if (base.empty()) {
            std::printf("  (no drovix-routersim beside the benchmarks: refresh not timed)\n");
            continue;
        }
        F.UserID.Text = "admin";
        F.PW.Text = "admin";
        F.router.InLogURL = base + "/inLogTable.htm";
        F.router.OutLogURL = base + "/outLogTable.htm";
        const double fetchMs = Best(5, [&] {
            QElapsedTimer timer;
            timer.start();
            GetHtml(F, F.router.InLogURL);
            GetHtml(F, F.router.OutLogURL);
            return static_cast<double>(timer.nsecsElapsed()) / 1e6;
        });
        const double refreshMs = Best(5, [&] {
            QElapsedTimer timer;
            timer.start();
            ProcessStdLogs(F);
            return static_cast<double>(timer.nsecsElapsed()) / 1e6;
        });
        std::printf("  fetching both tables: %7.1f ms\n", fetchMs);
        std::printf(
            "  whole refresh:        %7.1f ms  (fetch, parse, compare; %d + %d rows listed, %d flagged)\n",
            refreshMs, F.InLog.Rows() - 1, F.OutLog.Rows() - 1, F.stdlog.InFlagCount + F.stdlog.OutFlagCount);
        sim.terminate();
        sim.waitForFinished(3000);
    }
    std::printf("peak memory: %ld KiB\n", PeakKiB());
    return 0;
}
