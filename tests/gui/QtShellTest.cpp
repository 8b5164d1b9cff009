#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>

#include "GuiTestSupport.h"
#include "platform/qt/QtShell.h"

namespace scourix {
namespace {

// Stand-ins for xdg-open and xdg-mime, first on PATH: the opener writes the bytes of its
// arguments to a file, the MIME query answers from a file.
class QtShellTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";

    void SetUp() override {
        dir.folder("bin");
        script("xdg-open", "printf '%s|' \"$@\" > '" + dir / "opened.tmp" + "'\nmv '" +
                               dir / "opened.tmp" + "' '" + dir / "opened" + "'\n");
        script("xdg-mime", "cat '" + dir / "default-app" + "' 2>/dev/null\n");
        dir.file("default-app", "editor.desktop\n");
        ::setenv("PATH", (dir / "bin:" + oldPath).c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", oldPath.c_str(), 1); }

    void script(const std::string& name, const std::string& body) {
        ::chmod(dir.file("bin/" + name, "#!/bin/sh\n" + body).c_str(), 0700);
    }

    // What the opener was given, once it has run; "" when it did not run within a while.
    std::string opened(int waitMs = 5000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < waitMs && !test::exists(dir / "opened")) {
            QThread::msleep(10);
        }
        return test::exists(dir / "opened") ? test::contentOf(dir / "opened") : "";
    }
};

TEST_F(QtShellTest, OpenPassesThePathAsOneArgumentWithItsExactBytes) {
    const std::string path = dir.file("a b 'c' \"d\" $(touch x) \xb2\xe2\xca\xd4.txt", "text\n");
    EXPECT_EQ(QtShell().openDocument(path), OpenOutcome::Opened);
    EXPECT_EQ(opened(), path + "|");
    EXPECT_FALSE(test::exists(dir / "x")) << "nothing went through a shell";
    ::unlink((dir / "opened").c_str());
    QtShell().openTextFile(dir.file("查找结果信息", "text\n"));
    EXPECT_EQ(opened(), dir / "查找结果信息|");
}

TEST_F(QtShellTest, ARelativeNameBeginningWithADashIsPassedAsAPathNotAnOption) {
    dir.file("-list.txt", "text\n");
    char* before = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(dir.path().c_str()), 0);
    QtShell().openTextFile("-list.txt");
    EXPECT_EQ(::chdir(before), 0);
    std::free(before);
    EXPECT_EQ(opened(), dir / "-list.txt|");
}

TEST_F(QtShellTest, NoDefaultApplicationOrNoFileStartsNothing) {
    dir.file("default-app", "");
    EXPECT_EQ(QtShell().openDocument(dir.file("report.zzq", "text\n")), OpenOutcome::NoAssociation);
    EXPECT_EQ(QtShell().openDocument(dir / "gone.tmp"), OpenOutcome::Failed);
    EXPECT_EQ(QtShell().openDocument(""), OpenOutcome::Failed);
    EXPECT_EQ(opened(300), "");
}

// A listed link may lead to a device or a FIFO, which opening could act on (a watchdog
// restarts the machine when opened and closed).
TEST(QtShell, TheTypeOfAnythingButARegularFileIsFoundWithoutOpeningIt) {
    test::TempFolder dir;
    const std::string pipe = dir.fifo("pipe");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, pipe.c_str(), IN_OPEN), 0);
    EXPECT_EQ(QtShell::mimeTypeOf(dir.link("report.txt", pipe)), QStringLiteral("text/plain"));
    char event[256];
    EXPECT_LT(::read(watch, event, sizeof event), 0) << "the FIFO was opened";
    ::close(watch);
    // A regular file is still known by its content where its name says nothing.
    EXPECT_EQ(QtShell::mimeTypeOf(dir.file("noname", "%PDF-1.4\n")),
              QStringLiteral("application/pdf"));
}

TEST(QtShell, FileUriEncodesEveryByte) {
    EXPECT_EQ(QtShell::fileUri("/tmp/a b/%\xff\xe4\xb8\xad.tmp"),
              QStringLiteral("file:///tmp/a%20b/%25%FF%E4%B8%AD.tmp"));
}

}  // namespace
}  // namespace scourix
