#include "StraceRun.h"

#include <QProcess>
#include <QStandardPaths>
#include <atomic>
#include <chrono>
#include <thread>

bool StraceWorks() {
    if (QStandardPaths::findExecutable("strace").isEmpty()) return false;
    QProcess p;
    p.start("strace", {"-f", "-qq", "-o", "/dev/null", "true"});
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

DrovixRun RunDrovixHeldAt(const TempFolder& home, const QString& syscall, const std::string& path, int when,
                          const std::function<void()>& action) {
    // strace writes a call's name and arguments when the call begins, before it holds it.
    const std::string trace = home.file("held-at.trace");
    const QStringList tracer = {"strace",
                                "-f",
                                "-qq",
                                "-o",
                                QString::fromStdString(trace),
                                "-P",
                                QString::fromStdString(path),
                                "-e",
                                "trace=" + syscall,
                                "-e",
                                QString("inject=%1:delay_enter=1500000:when=%2").arg(syscall).arg(when)};
    std::atomic<bool> ended{false};
    std::thread watcher([&] {
        const std::string begun = syscall.toStdString() + "(";
        while (!ended) {
            const std::string text = ReadFileBytes(trace);
            int calls = 0;
            for (size_t at = text.find(begun); at != std::string::npos; at = text.find(begun, at + 1))
                ++calls;
            if (calls >= when) {
                action();
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const DrovixRun run = RunDrovix(home, {"/auto"}, Face::Headless, tracer);
    ended = true;
    watcher.join();
    return run;
}
