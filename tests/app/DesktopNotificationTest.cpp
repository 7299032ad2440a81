#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

#include "TestFiles.h"
#include "app/DesktopNotification.h"

namespace {

// Reads what a process printed until it holds text, or the time is up.
std::string OutputHolding(QProcess& process, const std::string& text, std::string& seen) {
    QElapsedTimer timer;
    timer.start();
    while (seen.find(text) == std::string::npos && timer.elapsed() < 5000) {
        process.waitForReadyRead(200);
        seen += process.readAllStandardOutput().toStdString();
    }
    return seen;
}

// Without a session bus nothing is asked of anyone. With one, the notification is a Notify call
// to the desktop's notification service; this private bus has none, so it is not shown, and the
// caller learns only that (the run's end never depends on it).
TEST(DesktopNotification, IsANotifyCallOnTheSessionBusAndSilentWithoutOne) {
    const Notification merged{"Drovix merged 3 records into Stillbeacon's logs", "Log 2026-12-06.txt (3)"};
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_FALSE(SendDesktopNotification(merged));
    if (!runtime.isEmpty()) qputenv("XDG_RUNTIME_DIR", runtime);

    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty() ||
        QStandardPaths::findExecutable("dbus-monitor").isEmpty()) {
        GTEST_SKIP() << "no dbus-daemon here (scripts/setup.sh installs dbus)";
    }
    TempFolder dir;
    const QString address = QString::fromStdString("unix:path=" + dir.path() + "bus");
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address", "--address=" + address});
    std::string daemonSaid;
    ASSERT_NE(OutputHolding(daemon, "unix:", daemonSaid).find("unix:"), std::string::npos)
        << "the bus did not start";
    QProcess monitor;
    monitor.start("dbus-monitor", {"--address", address, "interface='org.freedesktop.Notifications'"});
    std::string calls;
    ASSERT_NE(OutputHolding(monitor, "NameLost", calls).find("NameLost"), std::string::npos) << calls;

    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toLatin1());
    EXPECT_FALSE(SendDesktopNotification(merged)) << "no notification service on this bus";
    OutputHolding(monitor, "int32 -1", calls);
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    monitor.kill();
    daemon.kill();
    monitor.waitForFinished();
    daemon.waitForFinished();

    const std::size_t call = calls.find("member=Notify");
    ASSERT_NE(call, std::string::npos) << calls;
    EXPECT_NE(
        calls.find(
            "path=/org/freedesktop/Notifications; interface=org.freedesktop.Notifications; member=Notify"),
        std::string::npos)
        << calls;
    const std::string arguments = calls.substr(call);
    std::size_t at = 0;
    for (const std::string& argument :
         {std::string("string \"Drovix\""), std::string("uint32 0"), std::string("string \"drovix\""),
          "string \"" + merged.summary + "\"", "string \"" + merged.body + "\"", std::string("int32 -1")}) {
        at = arguments.find(argument, at);
        EXPECT_NE(at, std::string::npos) << argument << " in " << arguments;
    }
}

}  // namespace
