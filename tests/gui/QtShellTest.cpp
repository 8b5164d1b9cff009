#include <gtest/gtest.h>
#include <sys/inotify.h>

#include <filesystem>

#include "GuiTestSupport.h"
#include "platform/qt/QtShell.h"

namespace scourix {

// Stand-ins for xdg-open and xdg-mime, first on PATH: the opener writes the bytes of its
// arguments to a file, the MIME query answers from a file.
class QtShellTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    const std::string oldPath = std::getenv("PATH"), opened = dir / "bin/xdg-open.out";

    void SetUp() override {
        dir.folder("bin");
        dir.file("bin/xdg-open",
                 "#!/bin/sh\nprintf '%s|' \"$@\" >\"$0.t\"; mv \"$0.t\" \"$0.out\"\n", 0700);
        dir.file("bin/xdg-mime", "#!/bin/sh\ncat '" + dir / "default-app" + "'\n", 0700);
        dir.file("default-app", "editor.desktop\n");
        ::setenv("PATH", (dir / "bin:" + oldPath).c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", oldPath.c_str(), 1); }

    // What the opener was given, once it has run; "" when it did not run within a while.
    std::string openerGot(int ms = 5000) {
        const bool ran = test::waitFor([&] { return test::exists(opened); }, ms);
        const std::string got = ran ? test::contentOf(opened) : "";
        ::unlink(opened.c_str());
        return got;
    }
};

TEST_F(QtShellTest, TheOpenerGetsTheAbsolutePathAsOneArgumentWithItsExactBytesOrNothing) {
    const std::string path = dir.file("a b 'c' \"d\" $(touch x) \xb2\xe2\xca\xd4.txt", "text\n");
    EXPECT_EQ(QtShell().openDocument(path), OpenOutcome::Opened);
    EXPECT_EQ(openerGot(), path + "|");
    EXPECT_FALSE(test::exists(dir / "x")) << "nothing went through a shell";
    // A relative name beginning with a dash is a path, not an option.
    dir.file("-list.txt", "text\n");
    const std::string before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    QtShell().openTextFile("-list.txt");
    std::filesystem::current_path(before);
    EXPECT_EQ(openerGot(), dir / "-list.txt|");
    dir.file("default-app", "");
    EXPECT_EQ(QtShell().openDocument(dir.file("report.zzq", "text\n")), OpenOutcome::NoAssociation);
    EXPECT_EQ(QtShell().openDocument(dir / "gone.tmp"), OpenOutcome::Failed);
    EXPECT_EQ(QtShell().openDocument(""), OpenOutcome::Failed);
    EXPECT_EQ(openerGot(300), "");
    // An opener that cannot be started is told apart from one that fails on the file, and
    // the properties sheet is refused where no session bus answers.
    ::setenv("PATH", (dir / "none").c_str(), 1);
    EXPECT_EQ(QtShell().openDocument(path), OpenOutcome::OpenerMissing);
    EXPECT_EQ(QtShell().openTextFile(path), OpenOutcome::OpenerMissing);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + dir / "no-bus").c_str(), 1);
    EXPECT_FALSE(QtShell().showProperties(path));
}

// A listed link may lead to a device or a FIFO, which opening could act on (a watchdog
// restarts the machine when opened and closed).
TEST_F(QtShellTest, TheTypeOfAnythingButARegularFileIsFoundWithoutOpeningItAndUrisKeepEveryByte) {
    const std::string pipe = dir.fifo("pipe");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, pipe.c_str(), IN_OPEN), 0);
    EXPECT_EQ(QtShell::mimeTypeOf(dir.link("report.txt", pipe)), QStringLiteral("text/plain"));
    char event[256];
    EXPECT_LT(::read(watch, event, sizeof event), 0) << "the FIFO was opened";
    ::close(watch);
    // A regular file is still known by its content where its name says nothing.
    EXPECT_EQ(QtShell::mimeTypeOf(dir.file("noname", "%PDF-1.4\n")),
              QStringLiteral("application/pdf"));
    EXPECT_EQ(QtShell::fileUri("/tmp/a b/%\xff\xe4\xb8\xad.tmp"),
              QStringLiteral("file:///tmp/a%20b/%25%FF%E4%B8%AD.tmp"));
}

}  // namespace scourix
