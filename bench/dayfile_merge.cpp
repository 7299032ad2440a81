// Times the merge of 100 System Log records into a Stillbeacon day file of 100,000 lines, beside
// the time the system's sort takes for the same file, with the peak memory of each. Every
// measurement runs in a child process of its own, so its peak memory is its own. Prints its
// figures; not a test.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/FileBytes.h"
#include "form/Clock.h"
#include "form/MainForm.h"
#include "form/SilentFrontend.h"
#include "sblog/DayFileLines.h"
#include "sblog/DayFileSort.h"
#include "syslog/DayFileMerge.h"

namespace {

constexpr int kFileLines = 100000;
constexpr int kRecords = 100;
constexpr int kRuns = 9;
const char* const kDayFile = "Log 2026-11-20.txt";

std::string Stamp(int secs) {
    char text[40];
    std::snprintf(text, sizeof text, "2026/11/20 %02d:%02d:%02d", secs / 3600 % 24, secs / 60 % 60,
                  secs % 60);
    return text;
}

// A busy day of Stillbeacon's own lines, oldest first, with hundredths after every time. With
// shuffled, the lines of each second are in no order (as several records of one hundredth may
// be), which defeats the shortcut for a file that is in order already.
std::string DayFile(bool shuffled) {
    std::string text;
    text.reserve(static_cast<size_t>(kFileLines) * 72);
    char hundredths[8];
    for (int i = 0; i < kFileLines; ++i) {
        const long long centis = static_cast<long long>(i) * 8640000 / kFileLines;
        std::snprintf(hundredths, sizeof hundredths, ".%02d", shuffled ? 37 : static_cast<int>(centis % 100));
        text += Stamp(static_cast<int>(centis / 100)) + hundredths + " I 198.51." + std::to_string(i % 256) +
                "." + std::to_string(i / 256 % 256) + "\xA0tcp " + std::to_string(1024 + i % 50000) +
                " 192.168.1.100 " + std::to_string(i % 1024) + "\r\n";
    }
    return text;
}

// The records Stillbeacon missed, spread over the day, newest first as the list shows them.
void FillList(MainForm& F) {
    F.SysLog.SetCols(SysLogRecord::FieldCount);
    F.SysLog.SetRows(kRecords + 1);
    for (int r = 1; r <= kRecords; ++r) {
        const std::string time = Stamp((kRecords - r) * 86400 / kRecords + 7).substr(11);
        const std::vector<std::string> cells = {"2026-11-20",
                                                time,
                                                "I",
                                                "udp",
                                                "203.0.113." + std::to_string(r),
                                                "",
                                                "4000",
                                                "192.168.1.101",
                                                "53",
                                                r % 10 ? "" : "dropped"};
        for (int c = 0; c < static_cast<int>(cells.size()); ++c) F.SysLog.SetTextMatrix(r, c, cells[c]);
        F.SysLog.SetTextMatrix(r, SysLogRecord::RowTag, "R");
    }
    F.SysLog.Visible = true;
}

double Ms(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Child: the whole "Update SB logs" on the folder: locked read, merge, flushed atomic save.
int MergeFolder(const std::string& folder) {
    SilentFrontend frontend;
    SystemClock clock;
    MainForm F(frontend, clock);
    F.SbLogDir = folder;
    FillList(F);
    QElapsedTimer timer;
    timer.start();
    SysLogSave(F, true);
    std::printf("%.2f\n", Ms(timer));
    return F.Summary.Merged.size() == 1 ? 0 : 1;
}

// Child: the merge of lines alone, in memory: read the file, build the lines, sort, drop
// duplicates.
int MergeInMemory(const std::string& path) {
    SilentFrontend frontend;
    SystemClock clock;
    MainForm F(frontend, clock);
    FillList(F);
    QElapsedTimer timer;
    timer.start();
    std::string bytes;
    ReadFileBytes(path, bytes);
    const DayForm form = DayFormOf(bytes);
    std::vector<std::string> lines;
    for (int r = 1; r <= kRecords; ++r) {
        SysLogRecord record;
        for (int c = 0; c < SysLogRecord::FieldCount; ++c) record[c] = F.SysLog.TextMatrix(r, c);
        AppendRecordLines(record, form, lines);
    }
    const MergedDay merged = MergeDayLines(bytes, lines);
    std::printf("%.2f\n", Ms(timer));
    return merged.lines > kFileLines ? 0 : 1;
}

struct ChildRun {
    double ms = 0;  // wall time measured by the parent
    long maxRssKb = 0;
    std::string out;
    bool ok = false;
};

ChildRun RunChild(std::vector<std::string> args, const char* env = nullptr) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {};
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 1);
        ::close(pipeFds[0]);
        if (env) ::putenv(const_cast<char*>(env));
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    ChildRun run;
    char buffer[256];
    ssize_t got;
    while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        run.out.append(buffer, static_cast<size_t>(got));
    ::close(pipeFds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.ms = Ms(timer);
    run.maxRssKb = usage.ru_maxrss;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

struct Figures {
    double bestMs = 1e30, bestInnerMs = 1e30;
    long maxRssKb = 0;
};

void Keep(Figures& f, const ChildRun& run) {
    if (!run.ok) std::printf("  a run failed\n");
    f.bestMs = std::min(f.bestMs, run.ms);
    if (!run.out.empty()) f.bestInnerMs = std::min(f.bestInnerMs, std::atof(run.out.c_str()));
    f.maxRssKb = std::max(f.maxRssKb, run.maxRssKb);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--merge-folder") == 0) return MergeFolder(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--merge-in-memory") == 0) return MergeInMemory(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "--idle") == 0) return 0;

    for (bool shuffled : {false, true}) {
        QTemporaryDir dir;
        const std::string folder = QDir(dir.path()).absolutePath().toStdString() + "/";
        const std::string original = folder + "original.txt";
        const std::string day = DayFile(shuffled);
        SaveFileAtomically(original, day);
        const std::string self = QCoreApplication::applicationFilePath().toStdString();

        Figures merge, memory, sort, idle;
        for (int i = 0; i < kRuns; ++i) {
            const std::string work = folder + "run" + std::to_string(i) + "/";
            QDir().mkpath(QString::fromStdString(work));
            QFile::copy(QString::fromStdString(original), QString::fromStdString(work + kDayFile));
            Keep(merge, RunChild({self, "--merge-folder", work}));
            Keep(memory, RunChild({self, "--merge-in-memory", original}));
            Keep(sort, RunChild({"sort", "-o", work + "sorted.txt", original}, "LC_ALL=C"));
            Keep(idle, RunChild({self, "--idle"}));
        }
        std::string merged;
        ReadFileBytes(folder + "run0/" + kDayFile, merged);

        std::printf("Merging %d records into a day file of %d lines%s (%.1f MB; %.1f MB after):\n", kRecords,
                    kFileLines, shuffled ? ", each second's lines in no order" : " in order",
                    static_cast<double>(day.size()) / 1e6, static_cast<double>(merged.size()) / 1e6);
        std::printf("  %-44s %8s %8s %12s\n", "", "process", "inside", "peak memory");
        std::printf("  %-44s %6.1f ms %6.1f ms %9.1f MB\n", "SysLogSave (lock, read, merge, flushed save)",
                    merge.bestMs, merge.bestInnerMs, static_cast<double>(merge.maxRssKb) / 1024);
        std::printf("  %-44s %6.1f ms %6.1f ms %9.1f MB\n", "read, build, sort and dedupe in memory",
                    memory.bestMs, memory.bestInnerMs, static_cast<double>(memory.maxRssKb) / 1024);
        std::printf("  %-44s %6.1f ms %8s %9.1f MB\n", "LC_ALL=C sort -o of the same file", sort.bestMs, "",
                    static_cast<double>(sort.maxRssKb) / 1024);
        std::printf("  %-44s %6.1f ms %8s %9.1f MB\n", "this program doing nothing", idle.bestMs, "",
                    static_cast<double>(idle.maxRssKb) / 1024);
        std::printf("  SysLogSave / sort: %.2fx (whole processes); best of %d runs each\n\n",
                    merge.bestMs / sort.bestMs, kRuns);
    }
    return 0;
}
