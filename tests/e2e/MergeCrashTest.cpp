#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRegularExpression>
#include <map>

#include "DrovixProcess.h"
#include "RouterSim.h"
#include "StraceRun.h"
#include "TestFiles.h"
#include "UnattendedHome.h"

namespace {

using Files = std::map<std::string, std::string>;

// Three days that Stillbeacon's files lack records of: the first day's file holds one of them,
// the second day's is in tab form and holds none, the third day has no file yet.
const char* const kRouterLog =
    "[wan]\n203.0.113.7\n[syslog]\n"
    "2024-03-01 08:00:01 @sys System started\n"
    "2024-03-01 09:14:22 TCP from 198.51.100.23:4123 to 127.0.0.100:80 dropped\n"
    "2024-03-01 10:31:05 TCP from 127.0.0.101:3345 to 203.0.113.40:21\n"
    "2024-03-02 09:02:17 ICMP from 203.0.113.150 to 203.0.113.7 ping dropped\n"
    "2024-03-02 09:45:59 TCP from 203.0.113.9:2045 to 127.0.0.102:135 dropped\n"
    "2024-03-02 10:10:10 UDP from 127.0.0.100:1025 to 198.51.100.53:53\n"
    "2024-03-03 11:22:33 TCP from 198.51.100.23:4890 to 203.0.113.7:23 dropped\n"
    "2024-03-03 12:00:00 @sys Time synchronised\n"
    "2024-03-03 12:30:45 TCP from 203.0.113.150:1500 to 127.0.0.100:1433 dropped\n";

const Files kStillbeaconDays = {
    {"Log 2024-03-01.txt",
     "2024/03/01 10:31:05.20 O 203.0.113.40\xA0tcp 21 127.0.0.101 3345\r\n"
     "2024/03/01 23:00:00.00 I 198.51.100.99\xA0udp 5 127.0.0.100 6\r\n"},
    {"Log 2024-03-02.txt", "2024/03/02\t08:00:00.10\tI\ttcp\t198.51.100.98\t\t7\t127.0.0.100\t8\r\n"},
};
const char* const kDays[] = {"2024-03-01", "2024-03-02", "2024-03-03"};

// What a save left behind when it was killed between naming its new file and renaming it over
// the old one: never read as a day file, and removed by the next merge of that day.
const QRegularExpression kSaveLeftover("^Log 2024-03-0\\d\\.txt\\.drovix-[A-Za-z0-9]{6}$");

// A program folder for an unattended System Log run with history files, matching with
// Stillbeacon's logs and no name lookups; Stillbeacon's log folder is its "sb" subfolder.
class DrovixHome {
  public:
    explicit DrovixHome(const RouterSim& sim) {
        PrepareUnattendedHome(
            home_,
            "ADDRESS=" + sim.Address() +
                "\r\nUSERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nSYSLOG=1\r\nCOMPSB=1\r\nSAVESYSLOG=1\r\n"
                "INCLUDEALL=1\r\nSHOWIN=1\r\nSHOWOUT=1\r\nSHOWMSG=1\r\nSHOWWARNING=1\r\nCONVERT=0\r\n"
                "CONVERTURL=0\r\nMAXTIMEDIFF=2\r\nRWAIT=5\r\nRRETRY=1\r\nRDELAY=1\r\n",
            kStillbeaconDays);
    }

    std::string SbDir() const { return home_.file("sb/"); }
    Files SbFiles() const { return FilesIn(SbDir()); }

    // drovix /auto without a display, run by the given tracer when there is one.
    DrovixRun Run(const QStringList& tracer = {}) const {
        return RunDrovix(home_, {"/auto"}, Face::Headless, tracer);
    }

    std::string Path(const std::string& name) const { return home_.file(name); }

  private:
    TempFolder home_;
};

// One place to kill drovix: the when-th call of a system call, counted on each thread; for
// writes, only those to the history files count.
struct KillPoint {
    QString syscall;
    int when;

    QStringList Tracer(const DrovixHome& home) const {
        QStringList args = {"strace", "-f", "-qq", "-o", "/dev/null"};
        if (syscall == "write") {
            for (const char* day : kDays)
                args << "-P" << QString::fromStdString(home.SbDir() + "DXLog " + day + ".txt");
        }
        return args << "-e"
                    << "trace=" + syscall << "-e"
                    << QString("inject=%1:signal=SIGKILL:when=%2").arg(syscall).arg(when);
    }
};

// The calls of the merge, from the first history file on to the last change in Stillbeacon's
// folder, as the main thread makes them in an uninterrupted run: each is a kill point. A write
// is counted on the history files only (the thread also writes to wake its event loop).
std::vector<KillPoint> MergeKillPoints(const RouterSim& sim) {
    DrovixHome home(sim);
    const std::string trace = home.Path("trace.txt");
    const QStringList syscalls = {"openat", "flock", "fcntl", "fchmod", "fdatasync", "linkat", "rename"};
    const DrovixRun r = home.Run({"strace", "-f", "-qq", "-o", QString::fromStdString(trace), "-e",
                                  "signal=none", "-e", "trace=" + syscalls.join(',')});
    EXPECT_EQ(r.exitCode, 0) << r.stdErr;
    std::vector<std::pair<QString, QString>> calls;  // name, whole line; main thread only
    QString mainThread;
    for (const QString& line : QString::fromStdString(ReadFileBytes(trace)).split('\n', Qt::SkipEmptyParts)) {
        const QString tid = line.section(' ', 0, 0);
        const QString name = line.section(' ', 1).trimmed().section('(', 0, 0);
        if (!syscalls.contains(name)) continue;  // the end of a call another thread interrupted
        if (mainThread.isEmpty()) mainThread = tid;
        if (tid == mainThread) calls.emplace_back(name, line);
    }
    const QString sb = QString::fromStdString(home.SbDir());
    const QString inSb = sb + "DXLog ", onSbDay = sb + "Log ", onSb = "\"" + sb.chopped(1) + "\"";
    size_t first = calls.size(), last = 0;
    for (size_t i = 0; i < calls.size(); ++i) {
        if (first == calls.size() && calls[i].second.contains(inSb)) first = i;
        if (calls[i].second.contains(onSbDay) || calls[i].second.contains(onSb)) last = i;
    }
    std::map<QString, int> counted;
    std::vector<KillPoint> points;
    for (size_t i = 0; i <= last; ++i) {
        const int when = ++counted[calls[i].first];
        if (i >= first) points.push_back({calls[i].first, when});
    }
    int historyLines = 0;
    for (const char* day : kDays) {
        const std::string bytes = ReadFileBytes(home.SbDir() + "DXLog " + day + ".txt");
        historyLines += static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
    }
    for (int when = 1; when <= historyLines; ++when) points.push_back({"write", when});
    return points;
}

std::string Before(const std::string& dayFile) {
    const auto day = kStillbeaconDays.find(dayFile);
    return day == kStillbeaconDays.end() ? std::string() : day->second;
}

bool IsLinePrefix(const std::string& part, const std::string& whole) {
    return whole.compare(0, part.size(), part) == 0 && (part.empty() || part.back() == '\n');
}

// A run killed at any point of its merge leaves every Stillbeacon day file either as it was or
// fully merged and every history file a beginning of the whole one; the next run then ends with
// exactly the files of a run that was never killed: nothing lost, nothing merged twice.
TEST(MergeCrash, AKilledRunLeavesWholeFilesAndTheNextRunFinishesTheWork) {
    if (!StraceWorks()) GTEST_SKIP() << "strace is not installed or cannot trace here (scripts/setup.sh)";
    RouterSim sim({}, kRouterLog);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    QElapsedTimer timer;
    timer.start();

    DrovixHome reference(sim);
    const DrovixRun whole = reference.Run();
    ASSERT_EQ(whole.exitCode, 0) << whole.stdErr;
    const Files merged = reference.SbFiles();
    for (const char* day : kDays) {
        const std::string name = std::string("Log ") + day + ".txt";
        ASSERT_TRUE(merged.count(name) && merged.at(name) != Before(name)) << name << " was not merged";
        ASSERT_TRUE(merged.count(std::string("DXLog ") + day + ".txt"));
    }

    const std::vector<KillPoint> points = MergeKillPoints(sim);
    ASSERT_GE(points.size(), 20u);
    std::map<int, int> killsByDaysMerged;
    int leftovers = 0;
    for (const KillPoint& point : points) {
        SCOPED_TRACE(("killed at " + point.syscall + " #" + QString::number(point.when)).toStdString());
        DrovixHome home(sim);
        const DrovixRun killed = home.Run(point.Tracer(home));
        EXPECT_EQ(killed.exitCode, -1) << "not killed: " << killed.stdErr;

        int daysMerged = 0;
        const Files left = home.SbFiles();
        for (const auto& [name, whole] : merged) {
            const auto found = left.find(name);
            const bool exists = found != left.end();
            if (name.rfind("DXLog ", 0) == 0) {
                EXPECT_TRUE(!exists || IsLinePrefix(found->second, whole)) << name << ":\n" << found->second;
            } else if (exists && found->second == whole) {
                ++daysMerged;
            } else {
                EXPECT_EQ(exists, kStillbeaconDays.count(name) == 1) << name;
                EXPECT_EQ(exists ? found->second : "", Before(name)) << name;
            }
        }
        for (const auto& [name, bytes] : left) {
            if (QString::fromStdString(name).contains(kSaveLeftover)) {
                ++leftovers;
            } else {
                EXPECT_TRUE(merged.count(name)) << "unexpected file " << name;
            }
        }
        ++killsByDaysMerged[daysMerged];

        const DrovixRun again = home.Run();
        EXPECT_EQ(again.exitCode, 0) << again.stdErr;
        EXPECT_EQ(home.SbFiles(), merged);
    }
    // The kills fell before the first replacement of a day file and between two of them.
    EXPECT_GT(killsByDaysMerged[0], 0);
    EXPECT_GT(killsByDaysMerged[1] + killsByDaysMerged[2], 0);
    EXPECT_GT(leftovers, 0) << "no kill fell where a save leaves its new file behind";
    std::map<QString, int> bySyscall;
    for (const KillPoint& point : points) ++bySyscall[point.syscall];
    QStringList kinds;
    for (const auto& [syscall, count] : bySyscall) kinds << QString("%1 %2").arg(count).arg(syscall);
    std::printf(
        "[ crash    ] %zu kill points (%s): %d before any day file was replaced, %d after some; "
        "%d save leftovers; %.1f s\n",
        points.size(), kinds.join(", ").toStdString().c_str(), killsByDaysMerged[0],
        killsByDaysMerged[1] + killsByDaysMerged[2] + killsByDaysMerged[3], leftovers,
        static_cast<double>(timer.elapsed()) / 1000.0);
}

}  // namespace

namespace {

// A run killed after it made its lock file but before it locked it (or a power cut then) leaves
// the file behind, empty; that file must not pass for a running Drovix, or no later run would
// ever merge again.
TEST(MergeCrash, ARunKilledWhileTakingItsLockDoesNotBlockTheNextRun) {
    if (!StraceWorks()) GTEST_SKIP() << "strace is not installed or cannot trace here (scripts/setup.sh)";
    RouterSim sim({}, kRouterLog);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    DrovixHome home(sim);
    const DrovixRun killed = home.Run({"strace", "-f", "-qq", "-o", "/dev/null", "-P",
                                       QString::fromStdString(home.Path("Drovix.lock")), "-e", "trace=flock",
                                       "-e", "inject=flock:signal=SIGKILL:when=1"});
    EXPECT_EQ(killed.exitCode, -1) << "not killed: " << killed.stdErr;
    EXPECT_TRUE(FileExists(home.Path("Drovix.lock"))) << "killed before the lock file was made";
    EXPECT_EQ(home.SbFiles(), kStillbeaconDays);

    const DrovixRun again = home.Run();
    EXPECT_EQ(again.exitCode, 0) << again.stdErr;
    EXPECT_TRUE(again.stdOut.starts_with("Drovix: system log ")) << again.stdOut;
    EXPECT_NE(home.SbFiles(), kStillbeaconDays);
}

}  // namespace
