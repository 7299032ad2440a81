#include "DrovixProcess.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

QProcessEnvironment DrovixEnvironment(const TempFolder& home, Face face) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (face == Face::OffscreenWindow) env.insert("QT_QPA_PLATFORM", "offscreen");
    if (face == Face::DesktopPlatformWithoutDisplay) env.insert("QT_QPA_PLATFORM", "xcb");
    // No session bus: a test run never sends a notification to the desktop of whoever runs the tests.
    env.remove("DBUS_SESSION_BUS_ADDRESS");
    env.remove("XDG_RUNTIME_DIR");
    env.insert("DROVIX_HOME", QString::fromStdString(home.path()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path() + "config"));
    return env;
}

DrovixRun RunDrovix(const TempFolder& home, const QStringList& args, Face face, const QStringList& tracer) {
    QProcess p;
    QProcessEnvironment env = DrovixEnvironment(home, face);
    if (!tracer.isEmpty()) env.insert("ASAN_OPTIONS", "detect_leaks=0");
    p.setProcessEnvironment(env);
    if (tracer.isEmpty()) {
        p.start(DROVIX_EXE_PATH, args);
    } else {
        p.start(tracer[0], tracer.mid(1) + QStringList{DROVIX_EXE_PATH} + args);
    }
    EXPECT_TRUE(p.waitForFinished(60000)) << "drovix did not end";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}
