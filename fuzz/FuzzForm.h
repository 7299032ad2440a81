#pragma once
// What every fuzz target shares: a Qt application object (once), a silent frontend, a fixed
// clock and a main form whose program folder is a private temporary folder. Pages come from a
// source that answers nothing, so no input can make a target reach the network.
#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/Startup.h"
#include "form/Clock.h"
#include "form/MainForm.h"
#include "form/SilentFrontend.h"

namespace fuzz {

class FixedClock : public Clock {
  public:
    QDateTime Now() const override { return QDateTime(QDate(2026, 12, 6), QTime(14, 30, 0)); }
};

// The process-wide pieces: the folder (also the per-user configuration home) and the application.
struct Process {
    Process() {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Folder() + "config"));
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "drovix-fuzz";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    std::string Folder() const { return dir.path().toStdString() + "/"; }
    QTemporaryDir dir;
    std::unique_ptr<QCoreApplication> app;
};

inline Process& TheProcess() {
    static Process process;
    return process;
}

// A fresh form for one input.
struct Form {
    Form() : form(std::make_unique<MainForm>(frontend, clock)) {
        const std::string folder = TheProcess().Folder();
        form->ProgramDir = folder;
        form->SbLogDir = folder;
        form->TracePath = folder + "Drovix_Trace.Log";
        form->router.Pages = [](const std::string&) { return std::string(); };
        ConnectFormCommands(*form);
    }
    MainForm& F() { return *form; }
    SilentFrontend frontend;
    FixedClock clock;
    std::unique_ptr<MainForm> form;
};

inline std::string_view Bytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Cuts an input into two parts at its first NUL byte (the second part empty when there is none).
inline std::pair<std::string_view, std::string_view> Halves(std::string_view input) {
    const auto cut = input.find('\0');
    if (cut == std::string_view::npos) return {input, {}};
    return {input.substr(0, cut), input.substr(cut + 1)};
}

}  // namespace fuzz
