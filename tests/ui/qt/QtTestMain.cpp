#include <gtest/gtest.h>

#include "app/ScheduleTimer.h"

#include <QApplication>

// Widget tests need a full application object; they run offscreen unless told otherwise, also
// when ctest lists them. Being defined here, this main() keeps the linker from taking the engine
// tests' main.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // No test reaches the systemd of whoever runs the tests: without a script of its own, a test
    // finds no user systemd.
    TimerCommandRunner() = [](const std::string&, const std::vector<std::string>&) {
        return CommandResult{};
    };
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
