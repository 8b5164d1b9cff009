#include <gtest/gtest.h>

#include <QApplication>

// The windows are real; unless told otherwise they run on the offscreen platform.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the tests close windows
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
