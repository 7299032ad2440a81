// Times the comparison of full router tables with a month of Stillbeacon day files, and a whole
// standard-router refresh (both tables fetched from drovix-routersim over loopback, parsed and
// compared), beside the time it takes only to read the files the comparison reads. The peak
// memory of a refresh, and of one over pages past the 1 MiB limit, is measured in a child process
// of its own beside that process's idle figure. Prints its figures; not a test.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "PeakMemory.h"
#include "RouterSim.h"
#include "files/FileBytes.h"
#include "form/Clock.h"
#include "form/MainForm.h"
#include "form/SilentFrontend.h"
#include "router/PageSource.h"
#include "sblog/SbLogFolder.h"
#include "stdlog/CompareSBLogs.h"
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

// Bytes this process has taken in through read() and its kin so far, from the page cache too.
long long BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return -1;
}

// Reads the newest count files whole, as the comparison does, and counts their lines.
double ReadNewestMs(const std::string& folder, int count, std::size_t& lines) {
    QElapsedTimer timer;
    timer.start();
    std::string buffer;
    lines = 0;
    const auto names = ListSbLogFiles(folder);
    for (auto it = names->rbegin(); it != names->rend() && it - names->rbegin() < count; ++it) {
        ReadFileBytes(folder + *it, buffer);
        for (const char* p = buffer.data();
             (p = static_cast<const char*>(std::memchr(p, '\n', buffer.data() + buffer.size() - p))); ++p)
            ++lines;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// How many of the newest files one comparison reads: its bytes read against the files' sizes.
int FilesTheComparisonReads(MainForm& F, const std::string& folder) {
    FillRouterTables(F, kFiles);
    const long long before = BytesReadSoFar();
    CompareSBLogs(F);
    const long long bytes = BytesReadSoFar() - before;
    const auto names = ListSbLogFiles(folder);
    long long covered = 0;
    int count = 0;
    for (auto it = names->rbegin(); it != names->rend() && covered < bytes - 4096; ++it, ++count)
        covered += QFile(QString::fromStdString(folder + *it)).size();
    return count;
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

void ClearRouterTables(MainForm& F) {
    F.InLog.SetRows(1);
    F.OutLog.SetRows(1);
    F.stdlog.InFlagCount = F.stdlog.OutFlagCount = 0;
}

void PointAtSimulator(MainForm& F, const std::string& base) {
    F.UserID.Text = "admin";
    F.PW.Text = "admin";
    F.router.InLogURL = base + "/inLogTable.htm";
    F.router.OutLogURL = base + "/outLogTable.htm";
}

// The child's part: one refresh from the router at base, compared with folder unless it is "-";
// prints the peak memory before and after it.
int PeakOfOneRefresh(const std::string& base, const std::string& folder) {
    SilentFrontend frontend;
    SystemClock clock;
    MainForm F(frontend, clock);
    const long idle = PeakKiB();
    PointAtSimulator(F, base);
    F.SbLogDir = folder == "-" ? std::string() : folder;
    F.CompSB.Value = folder != "-";
    ProcessStdLogs(F);
    std::printf("idle %ld KiB, after the refresh %ld KiB (%d + %d rows listed)\n", idle, PeakKiB(),
                F.InLog.Rows() - 1, F.OutLog.Rows() - 1);
    return 0;
}

// Runs PeakOfOneRefresh in a process of its own, so the figures are the refresh's alone.
std::string PeakInChild(const std::string& base, const std::string& folder) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {"--peak-refresh", QString::fromStdString(base), QString::fromStdString(folder)});
    child.waitForFinished(-1);
    return child.readAllStandardOutput().trimmed().toStdString();
}

double Best(int runs, auto&& f) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) best = std::min(best, f());
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--peak-refresh") == 0) return PeakOfOneRefresh(argv[2], argv[3]);
    SilentFrontend frontend;
    SystemClock clock;
    std::printf("Times are the best of 5 runs; peak memory is VmHWM (see PeakMemory.h).\n");

    for (bool incoming : {true, false}) {
        QTemporaryDir dir;
        const std::string folder = QDir(dir.path()).absolutePath().toStdString() + "/";
        std::size_t bytes = 0;
        for (int day = 1; day <= kFiles; ++day) {
            const std::string text = DayFile(day, incoming);
            bytes += text.size();
            char name[40];
            std::snprintf(name, sizeof name, "Log 2026-11-%02d.txt", day);
            SaveFileAtomically(folder + name, text);
        }
        MainForm F(frontend, clock);
        F.SbLogDir = folder;
        F.CompSB.Value = true;
        F.CompDX.Value = true;

        const int needed = FilesTheComparisonReads(F, folder);
        std::size_t lines = 0;
        const double readAllMs = Best(5, [&] { return ReadNewestMs(folder, kFiles, lines); });
        if (lines != static_cast<std::size_t>(kFiles) * kLinesPerFile)
            std::printf("unexpected line count %zu\n", lines);
        const double readNeededMs = Best(5, [&] { return ReadNewestMs(folder, needed, lines); });
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
        std::printf("  reading all %d files only:          %8.1f ms\n", kFiles, readAllMs);
        std::printf("  reading the %2d file(s) compared only: %7.1f ms\n", needed, readNeededMs);
        std::printf("  CompareSBLogs:                      %8.1f ms  (%d rows flagged)\n", compareMs,
                    flagged);

        RouterSim sim({"--no-syslog"}, RouterRecords(kFiles));
        if (!sim.Started()) {
            std::printf("  drovix-routersim did not start (%s): refresh not timed\n", sim.Error().c_str());
            continue;
        }
        const std::string base = sim.Url("");
        PointAtSimulator(F, base);
        std::size_t pageBytes = 0;
        const double fetchMs = Best(5, [&] {
            QElapsedTimer timer;
            timer.start();
            pageBytes = FetchPage(F, F.router.InLogURL).size() + FetchPage(F, F.router.OutLogURL).size();
            return static_cast<double>(timer.nsecsElapsed()) / 1e6;
        });
        // Emptied before each refresh, so what is listed and flagged afterwards came from the router.
        const double refreshMs = Best(5, [&] {
            ClearRouterTables(F);
            QElapsedTimer timer;
            timer.start();
            ProcessStdLogs(F);
            return static_cast<double>(timer.nsecsElapsed()) / 1e6;
        });
        std::printf("  fetching both tables:               %8.1f ms  (%zu bytes)\n", fetchMs, pageBytes);
        std::printf(
            "  whole refresh:                      %8.1f ms  (fetch, parse, compare; %d + %d rows listed, "
            "%d flagged)\n",
            refreshMs, F.InLog.Rows() - 1, F.OutLog.Rows() - 1, F.stdlog.InFlagCount + F.stdlog.OutFlagCount);
        std::printf("  peak memory of one refresh: %s\n", PeakInChild(base, folder).c_str());
    }

    RouterSim oversize({"--no-syslog", "--oversize"}, RouterRecords(kFiles));
    if (oversize.Started()) {
        MainForm F(frontend, clock);
        PointAtSimulator(F, oversize.Url(""));
        std::printf(
            "Both pages past 1 MiB (drovix-routersim --oversize; %zu + %zu bytes taken), no comparison:\n",
            FetchPage(F, F.router.InLogURL).size(), FetchPage(F, F.router.OutLogURL).size());
        std::printf("  peak memory of one refresh: %s\n", PeakInChild(oversize.Url(""), "-").c_str());
    }
    return 0;
}
