#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QApplication>
#include <csignal>
#include <cstring>
#include <string>

// A session bus of the tests' own (see session-bus.conf).
static void startSessionBus() {
    int ends[2];
    const pid_t tests = ::getpid();
    if (::pipe(ends) != 0) {
        return;
    }
    if (::fork() == 0) {
        // It ends with the tests however they end.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        const std::string print = "--print-address=" + std::to_string(ends[1]);
        if (::getppid() == tests) {
            ::execlp("dbus-daemon", "dbus-daemon", "--nofork", print.c_str(),
                     "--config-file=" SCOURIX_TEST_BUS_CONFIG, nullptr);
        }
        ::_exit(127);
    }
    ::close(ends[1]);
    char address[1024] = {};
    if (::read(ends[0], address, sizeof address - 1) > 0) {
        address[std::strcspn(address, "\n")] = '\0';
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address, 1);
    }
    ::close(ends[0]);
}

// The windows are real; unless told otherwise they run on the offscreen platform.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    startSessionBus();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // the tests close windows
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
