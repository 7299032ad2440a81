#include "DrovixProcess.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

DrovixRun RunDrovix(const TempFolder& home, const QStringList& args, Face face) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (face == Face::OffscreenWindow) env.insert("QT_QPA_PLATFORM", "offscreen");
    if (face == Face::DesktopPlatformWithoutDisplay) env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DROVIX_HOME", QString::fromStdString(home.path()));
    env.insert("XDG_CONFIG_HOME", QString::fromStdString(home.path() + "config"));
    p.setProcessEnvironment(env);
    p.start(DROVIX_EXE_PATH, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << "drovix did not end";
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}
