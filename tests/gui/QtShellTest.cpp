#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "GuiTestSupport.h"
#include "platform/qt/QtShell.h"

namespace scourix {
namespace {

// Stand-ins for xdg-open and xdg-mime, first on PATH: the opener writes the bytes of its
// arguments to a file, the MIME query answers from a file.
class QtShellTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string oldPath;

    void SetUp() override {
        ::mkdir((dir / "bin").c_str(), 0700);
        script("xdg-open", "printf '%s|' \"$@\" > '" + (dir / "opened.tmp") + "'\n" + "mv '" +
                               (dir / "opened.tmp") + "' '" + (dir / "opened") + "'\n");
        script("xdg-mime", "cat '" + (dir / "default-app") + "' 2>/dev/null\n");
        setDefaultApp("editor.desktop\n");
        oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        ::setenv("PATH", ((dir / "bin") + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", oldPath.c_str(), 1); }

    void script(const std::string& name, const std::string& body) {
        const std::string path = dir / ("bin/" + name);
        std::ofstream(path) << "#!/bin/sh\n" << body;
        ::chmod(path.c_str(), 0700);
    }
    void setDefaultApp(const std::string& answer) { std::ofstream(dir / "default-app") << answer; }

    std::string makeFile(const std::string& name) {
        const std::string path = dir / name;
        std::ofstream(path) << "some text\n";
        return path;
    }

    // What the opener was given, once it has run; "" when it did not run within a while.
    std::string opened(int waitMs = 5000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < waitMs) {
            std::ifstream in(dir / "opened");
            if (in) {
                std::stringstream s;
                s << in.rdbuf();
                return s.str();
            }
            QThread::msleep(10);
        }
        return {};
    }
};

TEST_F(QtShellTest, OpenPassesThePathAsOneArgumentWithItsExactBytes) {
    const std::string path = makeFile("a b 'c' \"d\" $(touch x) \xb2\xe2\xca\xd4.txt");
    QtShell shell;
    EXPECT_EQ(shell.openDocument(path), OpenOutcome::Opened);
    EXPECT_EQ(opened(), path + "|");
    struct stat st {};
    EXPECT_NE(::stat((dir / "x").c_str(), &st), 0) << "nothing went through a shell";
}

TEST_F(QtShellTest, NoDefaultApplicationMeansNoAssociation) {
    setDefaultApp("");
    const std::string path = makeFile("report.zzq");
    QtShell shell;
    EXPECT_EQ(shell.openDocument(path), OpenOutcome::NoAssociation);
    EXPECT_EQ(opened(300), "") << "the opener is not started";
}

TEST_F(QtShellTest, AMissingFileFails) {
    QtShell shell;
    EXPECT_EQ(shell.openDocument(dir / "gone.tmp"), OpenOutcome::Failed);
    EXPECT_EQ(shell.openDocument(""), OpenOutcome::Failed);
    EXPECT_EQ(opened(300), "");
}

TEST_F(QtShellTest, TextFilesGoToTheOpener) {
    const std::string path = makeFile("查找结果信息");
    QtShell shell;
    shell.openTextFile(path);
    EXPECT_EQ(opened(), path + "|");
}

TEST_F(QtShellTest, MimeTypeComesFromNameOrContent) {
    EXPECT_EQ(QtShell::mimeTypeOf(makeFile("notes.txt")), QStringLiteral("text/plain"));
    // A name the database does not know: the content decides, read by its exact bytes.
    EXPECT_EQ(QtShell::mimeTypeOf(makeFile("\xff\xfe")), QStringLiteral("text/plain"));
}

TEST(QtShell, FileUriEncodesEveryByte) {
    EXPECT_EQ(QtShell::fileUri("/tmp/a b/%\xff\xe4\xb8\xad.tmp"),
              QStringLiteral("file:///tmp/a%20b/%25%FF%E4%B8%AD.tmp"));
}

TEST(QtShell, PropertiesWithoutAFileManagerReturnAtOnce) {
    QElapsedTimer t;
    t.start();
    QtShell().showProperties("/tmp/nothing here.tmp");
    EXPECT_LT(t.elapsed(), 1000);
}

}  // namespace
}  // namespace scourix
