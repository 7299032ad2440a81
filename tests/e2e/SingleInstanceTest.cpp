#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include "DrovixProcess.h"
#include "TestFiles.h"
#include "app/CommandLine.h"

namespace {

// Whether the kernel lists a lock of the kind given (FLOCK, LEASE) that process pid holds on the
// file at path ("1: FLOCK  ADVISORY  WRITE 4242 08:01:131 0 EOF": the pid, then device and inode).
bool Holds(const char* kind, qint64 pid, const std::string& path) {
    struct stat file {};
    QFile locks("/proc/locks");
    if (::stat(path.c_str(), &file) != 0 || !locks.open(QIODevice::ReadOnly)) return false;
    for (const QString& line : QString::fromLatin1(locks.readAll()).split('\n')) {
        const QStringList fields = line.simplified().split(' ');
        if (fields.size() > 5 && fields[1] == kind && fields[4] == QString::number(pid) &&
            fields[5].endsWith(":" + QString::number(file.st_ino)))
            return true;
    }
    return false;
}

// The window open in one folder: a scheduled run there is skipped with status 3, one in another
// folder runs, and once the window is killed the next run goes ahead. The folder starts with the
// empty lock file that a run killed while taking the lock (or a power cut then) leaves behind.
TEST(SingleInstance, OneDrovixPerFolderAndNoLockOutlivesItsProcess) {
    TempFolder home, other;
    WriteFileBytes(home.file("Drovix.lock"), "");

    QProcess window;
    window.setProcessEnvironment(DrovixEnvironment(home, Face::OffscreenWindow));
    window.start(DROVIX_EXE_PATH, QStringList{});
    ASSERT_TRUE(window.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!Holds("FLOCK", window.processId(), home.file("Drovix.lock")) && !window.waitForFinished(20) &&
           waited.elapsed() < 20000) {
    }
    ASSERT_TRUE(Holds("FLOCK", window.processId(), home.file("Drovix.lock")))
        << "the window did not take the lock: " << window.readAllStandardError().toStdString();
    // A lease would make the next start's open wait until the kernel gives up on it (45 s).
    EXPECT_FALSE(Holds("LEASE", window.processId(), home.file("Drovix.lock")));

    const DrovixRun skipped = RunDrovix(home, {"/auto"});
    EXPECT_EQ(skipped.exitCode, kExitAlreadyRunning);
    EXPECT_EQ(skipped.stdErr, "Drovix is already running\n");
    EXPECT_EQ(skipped.stdOut, "");
    EXPECT_FALSE(FileExists(home.file("Drovix.ini")));

    // Not set up, but not blocked.
    EXPECT_EQ(RunDrovix(other, {"/auto"}).exitCode, kExitNotSetUp);

    window.kill();
    ASSERT_TRUE(window.waitForFinished());
    const DrovixRun after = RunDrovix(home, {"/auto"});
    EXPECT_EQ(after.exitCode, kExitNotSetUp) << after.stdErr;
    EXPECT_FALSE(FileExists(home.file("Drovix.lock"))) << "a run that ends removes its lock file";
}

// A folder that cannot hold the lock is a failure, not another Drovix: a scheduler would take the
// run for one merely skipped.
TEST(SingleInstance, AFolderThatCannotHoldTheLockIsAFailure) {
    TempFolder home;
    ASSERT_TRUE(QDir().mkdir(QString::fromStdString(home.file("Drovix.lock"))));
    const DrovixRun r = RunDrovix(home, {"/auto"});
    EXPECT_EQ(r.exitCode, kExitProblemReported);
    EXPECT_EQ(r.stdErr, "Drovix cannot use its folder: " + home.file("Drovix.lock") + ": Is a directory\n");
}

}  // namespace
