// Picks Drovix's face: the Qt window, or the headless face for unattended runs without a display.
//
// Built twice. drovix-window holds the window; drovix, what the desktop, the scheduler and the
// person start, does not: it starts drovix-window beside it when a window can be shown. A run
// without a display then loads none of the window's libraries, which took a third of its
// start-up.
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#ifdef DROVIX_WINDOW_PROGRAM
#include <QApplication>
#include <QMessageBox>
#endif

#include "app/ApplicationIdentity.h"
#include "app/CommandLine.h"
#include "app/DesktopNotification.h"
#include "app/DisplayRule.h"
#include "app/HeadlessFrontend.h"
#include "app/ListenCommand.h"
#include "app/ProgramDir.h"
#include "app/RunCycle.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "app/UnattendedEnd.h"
#include "form/Clock.h"
#include "form/Constants.h"
#include "form/EventDispatch.h"
#include "form/MainForm.h"
#ifdef DROVIX_WINDOW_PROGRAM
#include "ui/qt/MainWindow.h"
#endif

namespace {

constexpr const char* kAlreadyRunning = "Drovix is already running";

void Tell(const std::string& text, [[maybe_unused]] bool inAWindow) {
    std::fprintf(stderr, "%s\n", text.c_str());
#ifdef DROVIX_WINDOW_PROGRAM
    if (inAWindow) QMessageBox::warning(nullptr, drovix::WindowTitle, QString::fromStdString(text));
#endif
}

// Runs the program in its folder unless another Drovix already runs there. A folder that cannot
// hold the lock is a problem of its own: reported as "already running", a scheduler would count
// every run that never started as one that was merely skipped.
template <typename Run>
int RunAsOnlyInstance(Run run, bool tellInAWindow) {
    const std::string programDir = ResolveProgramDir(QCoreApplication::applicationDirPath().toStdString());
    const SingleInstance instance(programDir);
    switch (instance.State()) {
        case SingleInstance::Outcome::First:
            return run(programDir);
        case SingleInstance::Outcome::AlreadyRunning:
            Tell(kAlreadyRunning, tellInAWindow);
            return kExitAlreadyRunning;
        case SingleInstance::Outcome::Failed:
            break;
    }
    Tell("Drovix cannot use its folder: " + instance.Error(), tellInAWindow);
    return kExitProblemReported;
}

int RunHeadless(int argc, char** argv, const std::string& commandLine) {
    QCoreApplication app(argc, argv);
    return RunAsOnlyInstance(
        [&](const std::string& programDir) {
            HeadlessFrontend frontend;
            SystemClock clock;
            MainForm F(frontend, clock);
            PrepareMainForm(F, programDir);
            DispatchEvent(F, [&] { Form_Load(F, commandLine); }, {});
            // A message means the run met a problem and did not complete.
            const int status = frontend.MessageShown() ? kExitProblemReported : UnattendedExitStatus(F);
            return FinishUnattendedRun(F, status, SendDesktopNotification);
        },
        false);
}

#ifdef DROVIX_WINDOW_PROGRAM
int RunWindow(int argc, char** argv, const std::string& commandLine) {
    QApplication app(argc, argv);
    const bool interactive =
        !WantsAutoMode(commandLine) && qEnvironmentVariable("QT_QPA_PLATFORM") != "offscreen";
    return RunAsOnlyInstance(
        [&](const std::string& programDir) {
            SystemClock clock;
            MainWindow window(clock, programDir);
            PrepareMainForm(window.Form(), programDir);
            window.Dispatch([&] { Form_Load(window.Form(), commandLine); });
            const bool unattended = WantsAutoMode(commandLine);
            if (window.Form().Unloaded) {
                return unattended ? FinishUnattendedRun(window.Form(), UnattendedExitStatus(window.Form()),
                                                        SendDesktopNotification)
                                  : 0;
            }
            // An unattended run that met a problem stays open for the person: it did not complete.
            if (unattended) FinishUnattendedRun(window.Form(), kExitProblemReported, SendDesktopNotification);
            return app.exec();
        },
        interactive);
}
#else
// Becomes drovix-window, beside this program, with the same arguments. Returns only when that
// cannot be started: an unattended run then goes on without a window, as it would without a
// display, rather than not run at all.
int RunWindow(int argc, char** argv, const std::string& commandLine) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::string program = (self.parent_path() / "drovix-window").string();
    if (!error) ::execv(program.c_str(), argv);
    const std::string why = error ? error.message() : std::strerror(errno);
    if (WantsAutoMode(commandLine)) {
        std::fprintf(stderr, "Drovix cannot start its window (%s: %s); the run goes on without it.\n",
                     program.c_str(), why.c_str());
        return RunHeadless(argc, argv, commandLine);
    }
    std::fprintf(stderr, "Drovix cannot start its window: %s: %s\n", program.c_str(), why.c_str());
    return kExitProblemReported;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    // --help and --version answer before anything resolves a folder, takes the lock or needs a display.
    const CommandLineAction action = ReadCommandLine(argc, argv);
    if (action.kind != CommandLineAction::Kind::Run && action.kind != CommandLineAction::Kind::Listen) {
        std::fputs(action.text.c_str(), action.exitStatus == kExitCompleted ? stdout : stderr);
        return action.exitStatus;
    }
    // Before either face starts: the folders both faces resolve follow from it.
    SetApplicationIdentity();
    // The syslog receiver has no face and takes no single-instance lock.
    if (action.kind == CommandLineAction::Kind::Listen) {
        QCoreApplication app(argc, argv);
        return RunListen(ResolveProgramDir(QCoreApplication::applicationDirPath().toStdString()),
                         action.listenAt);
    }
    const std::string commandLine = JoinArguments(argc, argv);
    if (CanShowWindow(CurrentDisplayEnvironment())) return RunWindow(argc, argv, commandLine);
    if (WantsAutoMode(commandLine)) return RunHeadless(argc, argv, commandLine);
    std::fprintf(stderr,
                 "Drovix needs a display to show its window; start it with /auto for an unattended run.\n");
    return 2;
}
