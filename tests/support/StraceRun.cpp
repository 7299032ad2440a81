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

DrovixRun RunDrovixHeldAt(const TempFolder& home, const QString& syscall, const std::string& path,
                          const std::function<void()>& action) {
    // strace writes a call's name and arguments when the call begins, before it holds it.
    const std::string trace = home.file("held-at.trace");
    QStringList tracer = {"strace", "-f", "-qq", "-o", QString::fromStdString(trace)};
    tracer << "-e"
           << "trace=" + syscall << "-e"
           << "inject=" + syscall + ":delay_enter=1500000:when=1";
    if (!path.empty()) tracer << "-P" << QString::fromStdString(path);
    std::atomic<bool> ended{false};
    std::thread watcher([&] {
        while (!ended) {
            if (ReadFileBytes(trace).find(syscall.toStdString() + "(") != std::string::npos) {
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
