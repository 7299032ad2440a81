#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>

#include "DrovixProcess.h"
#include "RouterSim.h"
#include "StraceRun.h"
#include "TestFiles.h"
#include "UnattendedHome.h"

namespace {

using Files = std::map<std::string, std::string>;

const char* const InUse = "The Stillbeacon log was in use.  Please try again.";
const char* const Day = "Log 2024-03-01.txt";

// A record forwarded to a server of ours and one of ours dropped on its way out, each with a
// message; with Stillbeacon's subtypes on they are a P and a B record.
const char* const RouterLog =
    "[wan]\n203.0.113.7\n[syslog]\n"
    "2024-03-01 09:14:22 TCP from 198.51.100.23:4123 to 127.0.0.100:80 forwarded to server\n"
    "2024-03-01 10:31:05 TCP from 127.0.0.101:3345 to 203.0.113.40:21 dropped by rule 3\n";

// Stillbeacon's folder is home's "sb/"; its settings turn subtypes on or off.
std::string PrepareHome(const TempFolder& home, const RouterSim& sim, const Files& sbFiles, bool subtypes) {
    const std::string sb = PrepareUnattendedHome(
        home,
        "ADDRESS=" + sim.Address() +
            "\r\nUSERID=admin\r\nPW=admin\r\nSAVEPW=1\r\nSYSLOG=1\r\nCOMPSB=1\r\nINCLUDEALL=1\r\nSHOWIN=1\r\n"
            "SHOWOUT=1\r\nSHOWMSG=1\r\nSHOWWARNING=1\r\nCONVERT=0\r\nCONVERTURL=0\r\nRWAIT=5\r\nRRETRY=1\r\n",
        sbFiles);
    WriteFileBytes(home.file("Stillbeacon.ini"),
                   "LOGDIR " + sb + "\r\nUSESUBTYPES=" + (subtypes ? "1" : "0") + "\r\n");
    return sb;
}

// The lines the two records become in a blank-form day file without subtypes.
const std::string MergedBlank =
    "2024/03/01 09:14:22 I 198.51.100.23\xA0tcp 4123 127.0.0.100 80\r\n"
    "2024/03/01 09:14:22 M forwarded\xA0to\xA0server . . .\r\n"
    "2024/03/01 10:31:05 M dropped\xA0"
    "by\xA0rule\xA0"
    "3 . . .\r\n"
    "2024/03/01 10:31:05 O 203.0.113.40\xA0tcp 21 127.0.0.101 3345\r\n";

// A monitor that keeps its day file open and appends to it, through an open file of its own.
struct Writer {
    ~Writer() { Close(); }
    void Open(const std::string& path) { fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC); }
    void Append(const std::string& line) {
        EXPECT_EQ(::write(fd, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }
    void Close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int fd = -1;
};

// A program that has the day file open when the merge begins, or opens it while the merge is
// under way, goes on writing into that file: the merge leaves the file to it, and its lines and
// every merged record are in the file once a later run, after it closed the file, has merged.
TEST(DayFileMergeRun, AProgramWithTheDayFileOpenLosesNoLine) {
    RouterSim sim({}, RouterLog);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string before = "2024/03/01 08:00:00.00 I 198.51.100.99\xA0udp 5 127.0.0.100 6\r\n";
    const std::string path = PrepareHome(home, sim, {{Day, before}}, false) + Day;
    const std::string heldLine = "2024/03/01 23:00:00.50 I 198.51.100.98\xA0udp 7 127.0.0.100 8\r\n";
    const std::string openedLine = "2024/03/01 23:30:00.50 I 198.51.100.97\xA0udp 9 127.0.0.100 8\r\n";

    {
        Writer held;
        held.Open(path);
        const DrovixRun run = RunDrovix(home, {"/auto"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.stdErr.find(InUse), std::string::npos) << run.stdErr;
        EXPECT_EQ(ReadFileBytes(path), before);
        held.Append(heldLine);
    }
    std::string written = before + heldLine;
    if (StraceWorks()) {
        // Opened when the merge is about to ask whether it still has the file to itself (its third
        // fcntl on it, after the lease's signal and the lease): the open waits until it has let go.
        Writer opened;
        const DrovixRun run = RunDrovixHeldAt(home, "fcntl", path, 3, [&] {
            opened.Open(path);
            opened.Append(openedLine);
        });
        EXPECT_EQ(run.exitCode, 1) << "a lease broken must not end drovix";
        EXPECT_NE(run.stdErr.find(InUse), std::string::npos) << run.stdErr;
        written += openedLine;
        EXPECT_EQ(ReadFileBytes(path), written);
    }

    const DrovixRun run = RunDrovix(home, {"/auto"});
    EXPECT_EQ(run.exitCode, 0) << run.stdErr;
    EXPECT_EQ(ReadFileBytes(path), before + MergedBlank + written.substr(before.size()));
}

// A day file of any kind Stillbeacon's folder may hold: merged in its own form, the messages of
// P and B records on lines of their own, a byte order mark kept in front, and the leftovers of
// killed saves of that day removed; one that is not 8-bit text, cannot be opened or is no plain
// file is left as it was, and the unattended run says why and fails. A merged file keeps its owner and
// permissions, so Stillbeacon may go on writing it; one that belongs to another user (whose programs may have
// it open unseen) is left alone. The owners change only where the tests run as the administrator.
TEST(DayFileMergeRun, DayFilesOfEveryKind) {
    RouterSim sim({}, RouterLog);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    const std::string bom = "\xEF\xBB\xBF";
    const std::string blankDay = "2024/03/01 08:00:00.00 I 198.51.100.99\xA0udp 5 127.0.0.100 6\r\n";
    const std::string tabDay = "2024/03/01\t08:00:00.10\tI\tudp\t198.51.100.99\t\t5\t127.0.0.100\t6\r\n";
    const std::string otherDay = "Log 2024-02-28.txt.Qw12Er";
    const Files utf16Day = {{Day, std::string("2\0000\0002\0004\0/\0", 10)}};
    const Files blankOnly = {{Day, blankDay}};
    enum class Kind { OwnedByStillbeacon, LoopingLink, Pipe, OtherUsers };
    struct Case {
        const char* what;
        Files before, after;
        int exitCode;
        std::string message;
        Kind kind = Kind::OwnedByStillbeacon;
    } cases[] = {
        {"blank form with a byte order mark",
         {{Day, bom + blankDay},
          {"Log 2024-03-01.txt.Ab12Cd", "killed save"},
          {"Log 2024-03-01.txt.drovix-Zy98Xw", "killed save"},
          {otherDay, "killed save"}},
         {{Day, bom + blankDay +
                    "2024/03/01 09:14:22 M forwarded\xA0to\xA0server . . .\r\n"
                    "2024/03/01 09:14:22 P 198.51.100.23\xA0tcp 4123 127.0.0.100 80\r\n"
                    "2024/03/01 10:31:05 B 203.0.113.40\xA0tcp 21 127.0.0.101 3345\r\n"
                    "2024/03/01 10:31:05 M dropped\xA0"
                    "by\xA0rule\xA0"
                    "3 . . .\r\n"},
          {otherDay, "killed save"}},
         0,
         ""},
        {"tab form",
         {{Day, tabDay}},
         {{Day, tabDay + "2024/03/01\t09:14:22\tM\t\t\tforwarded\xA0to\xA0server\t\t\t\r\n"
                         "2024/03/01\t09:14:22\tP\ttcp\t198.51.100.23\t\t4123\t127.0.0.100\t80\r\n"
                         "2024/03/01\t10:31:05\tB\ttcp\t203.0.113.40\t\t21\t127.0.0.101\t3345\r\n"
                         "2024/03/01\t10:31:05\tM\t\t\tdropped\xA0"
                         "by\xA0rule\xA0"
                         "3\t\t\t\r\n"}},
         0,
         ""},
        {"UTF-16", utf16Day, utf16Day, 1, std::string(Day) + " was left as it was: it holds NUL bytes"},
        {"a symbolic link to itself",
         {},
         {},
         1,
         std::string(InUse) + " (" + Day + " in folder ",
         Kind::LoopingLink},
        {"a named pipe", {}, {}, 1, "/sb/: it is not a plain file)", Kind::Pipe},
        {"another user's", blankOnly, blankOnly, 1, "/sb/: it belongs to another user", Kind::OtherUsers},
    };
    const bool administrator = ::geteuid() == 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.kind == Kind::OtherUsers && !administrator) continue;
        TempFolder home;
        const std::string sb = PrepareHome(home, sim, c.before, true);
        const std::string path = sb + Day;
        const bool givenAway = administrator && c.kind == Kind::OwnedByStillbeacon;
        if (c.kind == Kind::LoopingLink) {
            ASSERT_EQ(::symlink(Day, path.c_str()), 0);
        }
        if (c.kind == Kind::Pipe) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
        }
        if (givenAway) {
            ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
            ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
        }
        QStringList asOtherUser;
        if (c.kind == Kind::OtherUsers) {
            asOtherUser = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
            ::chmod(home.path().c_str(), 0777);
            ::chmod(sb.c_str(), 0777);
            ::chmod(path.c_str(), 0666);
        }

        const DrovixRun run = RunDrovix(home, {"/auto"}, Face::Headless, asOtherUser);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.stdErr;
        EXPECT_NE(run.stdErr.find(c.message), std::string::npos) << run.stdErr;
        Files after = FilesIn(sb);
        std::erase_if(after, [](const auto& f) { return f.first.rfind("DXLog ", 0) == 0; });
        EXPECT_EQ(after, c.after);
        struct stat st {};
        ASSERT_EQ(::lstat(path.c_str(), &st), 0);
        EXPECT_EQ(S_ISLNK(st.st_mode), c.kind == Kind::LoopingLink);
        EXPECT_EQ(S_ISFIFO(st.st_mode), c.kind == Kind::Pipe);
        if (givenAway) {
            EXPECT_EQ(st.st_uid, 65534u);
            EXPECT_EQ(st.st_gid, 65534u);
            EXPECT_EQ(st.st_mode & 07777, 0640u);
        }
    }
}

// A day file that Stillbeacon creates while the merge writes the day's new file is not
// overwritten: it is read and merged like any other, in its own form.
TEST(DayFileMergeRun, ADayFileCreatedMeanwhileIsMergedNotOverwritten) {
    if (!StraceWorks()) GTEST_SKIP() << "strace is not installed or cannot trace here (scripts/setup.sh)";
    RouterSim sim({}, RouterLog);
    ASSERT_TRUE(sim.Started()) << sim.Error();
    TempFolder home;
    const std::string path = PrepareHome(home, sim, {}, false) + Day;
    const std::string stillbeacons = "2024/03/01 08:00:00.00 I 198.51.100.99\xA0udp 5 127.0.0.100 6\r\n";
    const DrovixRun run =
        RunDrovixHeldAt(home, "linkat", path, 1, [&] { WriteFileBytes(path, stillbeacons); });
    EXPECT_EQ(run.exitCode, 0) << run.stdErr;
    EXPECT_EQ(ReadFileBytes(path), stillbeacons + MergedBlank);
}

}  // namespace
