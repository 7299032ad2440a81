#include <gtest/gtest.h>

#include <QCoreApplication>

// Engine tests need an application object for event loops, timers and the network manager.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
