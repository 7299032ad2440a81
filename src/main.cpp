// Picks Drovix's face: the Qt window, or the headless face for unattended runs without a display.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

#include "app/Clock.h"
#include "app/EventDispatch.h"
#include "app/HeadlessFrontend.h"
#include "app/MainForm.h"
#include "app/ProgramDir.h"
#include "app/RunCycle.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "ui/qt/MainWindow.h"

namespace {

constexpr const char* kAlreadyRunning = "Drovix is already running";

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int RunHeadless(int argc, char** argv, const std::string& commandLine) {
    QCoreApplication app(argc, argv);
    const std::string programDir = ResolveProgramDir(QCoreApplication::applicationDirPath().toStdString());
    SingleInstance instance(programDir);
    if (!instance.IsFirst()) {
        std::fprintf(stderr, "%s\n", kAlreadyRunning);
        return 3;
    }
    HeadlessFrontend frontend;
    SystemClock clock;
    MainForm F(frontend, clock);
    PrepareMainForm(F, programDir);
    DispatchEvent(F, [&] { Form_Load(F, commandLine); }, {});
    // A message means the run met a problem and did not complete.
    return frontend.MessageShown() ? 1 : 0;
}

int RunWindow(int argc, char** argv, const std::string& commandLine) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Drovix");
    const std::string programDir = ResolveProgramDir(QCoreApplication::applicationDirPath().toStdString());
    SingleInstance instance(programDir);
    if (!instance.IsFirst()) {
        std::fprintf(stderr, "%s\n", kAlreadyRunning);
        return 3;
    }
    SystemClock clock;
    MainWindow window(clock, programDir);
    PrepareMainForm(window.Form(), programDir);
    window.Dispatch([&] { Form_Load(window.Form(), commandLine); });
    if (window.Form().Unloaded) return 0;
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string commandLine = JoinArguments(argc, argv);
    if (HasDisplay()) return RunWindow(argc, argv, commandLine);
    if (WantsAutoMode(commandLine)) return RunHeadless(argc, argv, commandLine);
    std::fprintf(stderr,
                 "Drovix needs a display to show its window; start it with /auto for an unattended run.\n");
    return 2;
}
