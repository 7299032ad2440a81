// Times the real `drovix /auto` as a user's scheduler runs it, against drovix-routersim on loopback,
// beside the plain programs that set the bar, in one run and alternating, so that whatever else
// loads the machine loads both:
//   start-up       a run that stops at once (no saved password, exit status 4); the cost every run pays
//   refresh        a System Log refresh that lists 30 history files of 2,000 lines and matches them
//                  against 30 Stillbeacon day files of 20,000 lines: nothing new, nothing to merge;
//                  beside `cat` of the 60 files
//   merge          100 new records of yesterday merged into yesterday's day file of 100,000 blank-form
//                  lines; beside `LC_ALL=C sort` of that file
// Every figure is a whole process, page cache warm: wall time from spawn to reaped, and its peak
// resident memory as the kernel reports it for the reaped child. Each run's summary line is
// checked, so a run that did less than it should cannot look fast. Prints its figures; not a test.
//
//   whole_process [RUNS]            RUNS of each (default 5); medians, with the fastest and slowest
//   whole_process -- TOOL [ARGS]    each case once, drovix run by the tool (a profiler), untimed
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "RouterSim.h"
#include "TestFiles.h"

extern char** environ;

namespace {

constexpr int kDays = 30;
constexpr int kHistoryLines = 2000;
constexpr int kSbLines = 20000;
constexpr int kRouterLines = 20;
constexpr int kDayFileLines = 100000;
constexpr int kNewRecords = 100;

std::string DateText(const QDate& date) {
    return date.toString("yyyy-MM-dd").toStdString();
}

// Stillbeacon writes its dates with slashes.
std::string Slashed(std::string date) {
    date[4] = date[7] = '/';
    return date;
}

std::string ClockText(int secs) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", secs / 3600 % 24, secs / 60 % 60, secs % 60);
    return text;
}

std::string Remote(int i) {
    return "198.51." + std::to_string(i / 250 % 250) + "." + std::to_string(i % 250);
}

// Router line i of a busy day: inbound, one every 43 seconds, every tenth with a message.
std::string RouterLine(const std::string& day, int i) {
    return day + " " + ClockText(i * 43) + " TCP from " + Remote(i) + ":" + std::to_string(1024 + i) +
           " to 127.0.0.100:" + std::to_string(i % 1000) + (i % 10 == 0 ? " dropped" : "");
}

// Stillbeacon's file of the same day: each router record (with hundredths), and nine lines of its
// own after each.
std::string SbDay(const std::string& day) {
    std::string text;
    text.reserve(static_cast<size_t>(kSbLines) * 72);
    const std::string date = Slashed(day);
    for (int n = 0; n < kSbLines; ++n) {
        const int i = n / 10;
        if (n % 10 == 0) {
            text += date + " " + ClockText(i * 43) + ".25 I " + Remote(i) + "\xA0TCP " +
                    std::to_string(1024 + i) + " 127.0.0.100 " + std::to_string(i % 1000) + "\r\n";
        } else {
            text += date + " " + ClockText(i * 43 + n % 10 * 4) + ".50 O 203.0.113." +
                    std::to_string(n % 200) + "\xA0UDP 53 127.0.0.101 " + std::to_string(2000 + n % 3000) +
                    "\r\n";
        }
    }
    return text;
}

// A busy day file in blank form, oldest first, with hundredths after every time.
std::string BlankFormDay(const std::string& day) {
    std::string text;
    text.reserve(static_cast<size_t>(kDayFileLines) * 72);
    const std::string date = Slashed(day);
    char hundredths[8];
    for (int i = 0; i < kDayFileLines; ++i) {
        const long long centis = static_cast<long long>(i) * 8640000 / kDayFileLines;
        std::snprintf(hundredths, sizeof hundredths, ".%02d", static_cast<int>(centis % 100));
        text += date + " " + ClockText(static_cast<int>(centis / 100)) + hundredths + " I 198.51." +
                std::to_string(i % 256) + "." + std::to_string(i / 256 % 256) + "\xA0tcp " +
                std::to_string(1024 + i % 50000) + " 127.0.0.100 " + std::to_string(i % 1024) + "\r\n";
    }
    return text;
}

// Unattended System Log settings for a router at address: timeframe All, every kind of record
// shown, comparison on, name lookups and the export off.
std::string Settings(const std::string& address, bool history) {
    return "USERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nADDRESS=" + address +
           "\r\nRWAIT=5\r\nRRETRY=1\r\nSYSLOG=1\r\nSAVESYSLOG=" + (history ? "1" : "0") +
           "\r\nINCLUDEDXHISTORY=" + (history ? "1" : "0") +
           "\r\nCOMPSB=1\r\nMNW=0\r\nCONVERT=0\r\nCONVERTURL=0\r\nMAXTIMEDIFF=2\r\nINCLUDEALL=1\r\n"
           "SHOWIN=1\r\nSHOWOUT=1\r\nSHOWMSG=1\r\nSHOWWARNING=1\r\nSHOWIGNORED=1\r\n";
}

// A program folder whose Stillbeacon.ini names "sb/" in it; returns that folder.
std::string PrepareHome(const TempFolder& home, const std::string& settings) {
    const std::string sb = home.file("sb/");
    QDir().mkpath(QString::fromStdString(sb));
    WriteFileBytes(home.file("Stillbeacon.ini"), "LOGDIR " + sb + "\r\n");
    WriteFileBytes(home.file("Drovix.ini"), settings);
    return sb;
}

// Written and on disk, so that a run timed after it does not pay for the write-back.
void WriteDurably(const std::string& path, const std::string& bytes) {
    WriteFileBytes(path, bytes);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

struct Run {
    double seconds = 0;
    double cpuSeconds = 0;  // user and system
    long peakKiB = 0;
    int status = -1;  // the exit status, -1 when the process did not exit
    std::string out, err;
};

double Now() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

bool ReadAll(int fd, void* data, size_t size) {
    auto* at = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::read(fd, at, size);
        if (got <= 0) return false;
        at += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

bool WriteAll(int fd, const void* data, size_t size) {
    const auto* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = ::write(fd, at, size);
        if (put <= 0) return false;
        at += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

struct Outcome {
    double seconds;
    double cpuSeconds;
    long peakKiB;
    int status;
};

// Starts the measured programs from a small process forked before this one grows. The peak
// memory the kernel reports for a reaped child counts what the process that forked it held at the
// fork, so a child forked from here, after the files were generated, would carry their size.
class Launcher {
  public:
    Launcher() {
        int requests[2], answers[2];
        if (::pipe2(requests, O_CLOEXEC) != 0 || ::pipe2(answers, O_CLOEXEC) != 0) std::abort();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(requests[1]);
            ::close(answers[0]);
            Serve(requests[0], answers[1]);
            ::_exit(0);
        }
        ::close(requests[0]);
        ::close(answers[1]);
        requests_ = requests[1];
        answers_ = answers[0];
    }
    ~Launcher() {
        ::close(requests_);
        ::close(answers_);
        ::waitpid(pid_, nullptr, 0);
    }
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    // Runs argv with the environment given, its standard output and error into the files given.
    Outcome Start(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                  const std::string& outPath, const std::string& errPath) {
        // One request: NUL-ended texts, the two paths, the arguments, an empty text, the environment.
        std::string request = outPath + '\0' + errPath + '\0';
        for (const std::string& a : argv) request += a + '\0';
        request += '\0';
        for (const std::string& e : env) request += e + '\0';
        const uint64_t size = request.size();
        Outcome outcome{0, 0, 0, -1};
        if (!WriteAll(requests_, &size, sizeof size) ||
            !WriteAll(requests_, request.data(), request.size()) ||
            !ReadAll(answers_, &outcome, sizeof outcome))
            std::abort();
        return outcome;
    }

  private:
    static void Serve(int requests, int answers) {
        uint64_t size = 0;
        while (ReadAll(requests, &size, sizeof size)) {
            std::string request(size, '\0');
            if (!ReadAll(requests, request.data(), size)) return;
            std::vector<char*> texts;
            for (size_t at = 0; at < request.size(); at = request.find('\0', at) + 1)
                texts.push_back(&request[at]);
            const auto end =
                std::find_if(texts.begin() + 2, texts.end(), [](const char* t) { return *t == 0; });
            std::vector<char*> args(texts.begin() + 2, end), envp(end + 1, texts.end());
            args.push_back(nullptr);
            envp.push_back(nullptr);
            const double start = Now();
            const pid_t pid = ::fork();
            if (pid == 0) {
                const int in = ::open("/dev/null", O_RDONLY);
                const int out = ::open(texts[0], O_WRONLY | O_CREAT | O_TRUNC, 0600);
                const int err = ::open(texts[1], O_WRONLY | O_CREAT | O_TRUNC, 0600);
                if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
                    ::dup2(err, 2) < 0)
                    ::_exit(126);
                for (const int fd : {in, out, err})
                    if (fd > 2) ::close(fd);
                ::execvpe(args[0], args.data(), envp.data());
                ::_exit(127);
            }
            Outcome outcome{0, 0, 0, -1};
            int status = 0;
            rusage usage{};
            if (pid > 0 && ::wait4(pid, &status, 0, &usage) == pid) {
                outcome.seconds = Now() - start;
                outcome.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
                outcome.peakKiB = usage.ru_maxrss;
                if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
            }
            if (!WriteAll(answers, &outcome, sizeof outcome)) return;
        }
    }

    pid_t pid_ = -1;
    int requests_ = -1, answers_ = -1;
};

// Runs argv through the launcher with this environment less the display and the variables given,
// plus those given ("NAME=value").
Run Measure(Launcher& launcher, const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const TempFolder& scratch) {
    std::vector<std::string> envp;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = name == "DISPLAY" || name == "WAYLAND_DISPLAY" || name == "QT_QPA_PLATFORM";
        for (const std::string& own : env) replaced = replaced || own.substr(0, own.find('=')) == name;
        if (!replaced) envp.push_back(entry);
    }
    envp.insert(envp.end(), env.begin(), env.end());
    const std::string outPath = scratch.file("stdout"), errPath = scratch.file("stderr");
    const Outcome outcome = launcher.Start(argv, envp, outPath, errPath);
    return {outcome.seconds, outcome.cpuSeconds,     outcome.peakKiB,
            outcome.status,  ReadFileBytes(outPath), ReadFileBytes(errPath)};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Series {
    std::vector<double> seconds, cpuSeconds;
    long peakKiB = 0;

    void Add(const Run& run) {
        seconds.push_back(run.seconds);
        cpuSeconds.push_back(run.cpuSeconds);
        peakKiB = std::max(peakKiB, run.peakKiB);
    }
    double Min() const { return *std::min_element(seconds.begin(), seconds.end()); }
    double Max() const { return *std::max_element(seconds.begin(), seconds.end()); }
};

// A run that did not do what its case is about makes the figures meaningless: says so.
bool Expect(const char* what, const Run& run, int status, const std::string& out) {
    if (run.status == status && (out.empty() || run.out == out)) return true;
    std::fprintf(stderr, "%s: exit status %d (expected %d)\nstdout: %sexpected: %sstderr: %s\n", what,
                 run.status, status, run.out.c_str(), out.c_str(), run.err.c_str());
    return false;
}

double MiB(long kib) {
    return static_cast<double>(kib) / 1024;
}

}  // namespace

int main(int argc, char** argv) {
    Launcher launcher;  // first, while this process is small
    QCoreApplication app(argc, argv);
    int runs = 5;
    std::vector<std::string> tool;
    for (int a = 1; a < argc; ++a) {
        if (std::string(argv[a]) == "--") {
            tool.assign(argv + a + 1, argv + argc);
            break;
        }
        runs = std::max(1, std::atoi(argv[a]));
    }
    const std::string drovix = DROVIX_EXE_PATH;
    TempFolder scratch;

    // Dates follow the real clock, which the run's timeframe and "today" come from: the 30 days
    // before today, and yesterday.
    const QDate today = QDate::currentDate();
    const std::string yesterday = DateText(today.addDays(-1));

    // The refresh: history and day files of 30 days; the router still shows the last lines of
    // the history, nothing newer.
    std::string routerLog = "[syslog]\n";
    for (int i = kHistoryLines - kRouterLines; i < kHistoryLines; ++i)
        routerLog += RouterLine(yesterday, i) + "\n";
    RouterSim refreshSim({}, routerLog);
    if (!refreshSim.Started()) {
        std::fprintf(stderr, "%s\n", refreshSim.Error().c_str());
        return 1;
    }
    TempFolder refreshHome;
    const std::string refreshSb = PrepareHome(refreshHome, Settings(refreshSim.Address(), true));
    std::vector<std::string> catArgs = {"cat"};
    long long refreshBytes = 0;
    for (int d = kDays; d >= 1; --d) {
        const std::string day = DateText(today.addDays(-d));
        std::string history;
        for (int i = 0; i < kHistoryLines; ++i) history += RouterLine(day, i) + "\r\n";
        for (const auto& [name, text] :
             {std::pair{"DXLog " + day + ".txt", history}, {"Log " + day + ".txt", SbDay(day)}}) {
            WriteDurably(refreshSb + name, text);
            catArgs.push_back(refreshSb + name);
            refreshBytes += static_cast<long long>(text.size());
        }
    }
    const std::string refreshSummary = "Drovix: system log " + std::to_string(kDays * kHistoryLines) +
                                       " listed, 0 flagged; merged 0 lines; exported 0 lines\n";

    // The merge: yesterday's day file lacks the router's 100 records of yesterday, spread over the
    // day; no history, so every run starts from the same files.
    routerLog = "[syslog]\n";
    for (int r = 0; r < kNewRecords; ++r)
        routerLog += yesterday + " " + ClockText(r * 86400 / kNewRecords + 7) + " UDP from 203.0.113." +
                     std::to_string(r + 1) + ":4000 to 127.0.0.101:53\n";
    RouterSim mergeSim({}, routerLog);
    if (!mergeSim.Started()) {
        std::fprintf(stderr, "%s\n", mergeSim.Error().c_str());
        return 1;
    }
    TempFolder mergeHome;
    const std::string dayName = "Log " + yesterday + ".txt";
    const std::string dayPath = PrepareHome(mergeHome, Settings(mergeSim.Address(), false)) + dayName;
    const std::string original = scratch.file("original day file.txt");
    const std::string dayFile = BlankFormDay(yesterday);
    WriteDurably(original, dayFile);
    const std::string mergeSummary = "Drovix: system log " + std::to_string(kNewRecords) + " listed, " +
                                     std::to_string(kNewRecords) + " flagged; merged " +
                                     std::to_string(kNewRecords) + " lines into " + dayName + " (" +
                                     std::to_string(kNewRecords) + "); exported 0 lines\n";
    auto restoreDayFile = [&] { WriteDurably(dayPath, dayFile); };

    // Start-up: a router address but no saved password.
    TempFolder startupHome;
    PrepareHome(startupHome, "USERID=admin\r\nADDRESS=" + refreshSim.Address() + "\r\nSYSLOG=1\r\n");

    auto drovixIn = [&](const TempFolder& home) {
        std::vector<std::string> command = tool;
        command.insert(command.end(), {drovix, "/auto"});
        return Measure(launcher, command,
                       {"DROVIX_HOME=" + home.path(), "XDG_CONFIG_HOME=" + home.path() + "config"}, scratch);
    };
    auto sortDayFile = [&] {
        return Measure(launcher, {"sort", "-o", scratch.file("sorted.txt"), original}, {"LC_ALL=C"}, scratch);
    };

    // Warm up the page cache and the libraries, and check once that the merge merges every record
    // into the file.
    Measure(launcher, catArgs, {}, scratch);
    if (!Expect("start-up", drovixIn(startupHome), 4, "") ||
        !Expect("refresh", drovixIn(refreshHome), 0, refreshSummary))
        return 1;
    restoreDayFile();
    if (!Expect("merge", drovixIn(mergeHome), 0, mergeSummary)) return 1;
    const std::string mergedDay = ReadFileBytes(dayPath);
    if (std::count(mergedDay.begin(), mergedDay.end(), '\n') != kDayFileLines + kNewRecords) {
        std::fprintf(stderr, "merge: the day file does not hold %d lines\n", kDayFileLines + kNewRecords);
        return 1;
    }
    sortDayFile();
    if (!tool.empty()) return 0;

    Series startup, refresh, cat, merge, sort;
    for (int i = 0; i < runs; ++i) {
        const Run up = drovixIn(startupHome), refreshed = drovixIn(refreshHome),
                  catted = Measure(launcher, catArgs, {}, scratch);
        restoreDayFile();
        const Run merged = drovixIn(mergeHome), sorted = sortDayFile();
        if (!Expect("start-up", up, 4, "") || !Expect("refresh", refreshed, 0, refreshSummary) ||
            !Expect("cat", catted, 0, "") || !Expect("merge", merged, 0, mergeSummary) ||
            !Expect("sort", sorted, 0, ""))
            return 1;
        startup.Add(up);
        refresh.Add(refreshed);
        cat.Add(catted);
        merge.Add(merged);
        sort.Add(sorted);
    }

    std::printf(
        "Whole processes, page cache warm, %d runs each, alternating; median (fastest-slowest), cpu and peak "
        "RSS of the runs\n",
        runs);
    std::printf(
        "refresh: %d history files x %d lines and %d day files x %d lines, %.1f MB; "
        "merge: a day file of %d lines, %.1f MB\n\n",
        kDays, kHistoryLines, kDays, kSbLines, static_cast<double>(refreshBytes) / 1e6, kDayFileLines,
        static_cast<double>(dayFile.size()) / 1e6);
    std::printf("%-9s %-21s %-7s %9s   %-20s %-7s %9s   %-31s %s\n", "case", "drovix /auto", "cpu",
                "peak RSS", "baseline", "median", "peak RSS", "ratio", "aim");
    auto row = [](const char* name, const Series& s) {
        std::printf("%-9s %5.3f s (%5.3f-%5.3f) %5.3f s %5.1f MiB", name, Median(s.seconds), s.Min(), s.Max(),
                    Median(s.cpuSeconds), MiB(s.peakKiB));
    };
    auto beside = [](const char* name, const Series& s, double ratio, const char* defined, const char* aim) {
        std::printf("   %-20s %5.3f s %5.1f MiB   %5.2f = %-23s %s\n", name, Median(s.seconds),
                    MiB(s.peakKiB), ratio, defined, aim);
    };
    row("start-up", startup);
    std::printf("   -\n");
    row("refresh", refresh);
    beside("cat of the 60 files", cat, Median(refresh.seconds) / Median(cat.seconds), "run / cat",
           "<= 2, <= 40 MiB");
    row("merge", merge);
    beside("LC_ALL=C sort", sort, (Median(merge.seconds) - Median(startup.seconds)) / Median(sort.seconds),
           "(run - start-up) / sort", "<= 1.5");
    return 0;
}
