#include <gtest/gtest.h>

#include <QApplication>

// Widget tests need a full application object; run them with QT_QPA_PLATFORM=offscreen.
// Being defined here, this main() keeps the linker from taking the engine tests' main.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
