#include <gtest/gtest.h>

#include "app/ScheduleTimer.h"

#include <QCoreApplication>

// Engine tests need an application object for event loops, timers and the network manager.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // No test reaches the systemd of whoever runs the tests: without a script of its own, a test
    // finds no user systemd.
    TimerCommandRunner() = [](const std::string&, const std::vector<std::string>&) {
        return CommandResult{};
    };
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
