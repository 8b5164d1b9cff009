#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QDeadlineTimer>
#include <QThread>
#include <csignal>
#include <fstream>

#include "GuiTestSupport.h"
#include "app/MainForm.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeShell.h"
#include "gui/MainWindow.h"
#include "gui/SignalCloser.h"
#include "platform/Dialogs.h"
#include "platform/qt/CheckListView.h"

namespace scourix {
namespace {

using test::contentOf;
using test::exists;

// The real window with the handlers installed; signals raised in the process reach it.
class SignalCloserTest : public ::testing::Test {
protected:
    test::TempFolder root;
    const std::string prog = root.folder("prog"), tmp = root.folder("tmp");
    const std::string oldTmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    FakeDialogs dialogs;
    FakeShell shell;
    int endNowCalls = 0;
    bool boxUpAtEnd = false;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<SignalCloser> closer;
    // A box left up would hang the test: a second signal ends it, and the test fails on
    // the end it did not expect.
    QTimer watchdog;

    SignalCloserTest() { ::setenv("TMPDIR", tmp.c_str(), 1); }
    ~SignalCloserTest() override {
        closer.reset();
        oldTmpdir.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", oldTmpdir.c_str(), 1);
    }

    // realBoxes: the program's own message and input boxes instead of scripted ones.
    void start(bool realBoxes) {
        window = std::make_unique<MainWindow>(
            MainWindowOptions{prog, realBoxes ? nullptr : &dialogs, &shell, [this] {
                                  ++endNowCalls;
                                  QWidget* up = QApplication::activePopupWidget();
                                  up = up ? up : QApplication::activeModalWidget();
                                  boxUpAtEnd = up != nullptr;
                                  if (up) {
                                      up->close();
                                  }
                              }});
        closer = std::make_unique<SignalCloser>(*window);
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { std::raise(SIGTERM); });
        watchdog.start(30000);
        window->form().Form_Load();
    }
    void press(const char* name, std::deque<std::string> in = {}) {
        dialogs.inputs = std::move(in);
        auto* button = window->findChild<QAbstractButton*>(name);
        button ? button->click() : window->findChild<QAction*>(name)->trigger();
    }
    bool closedSoon() {
        for (QDeadlineTimer d(5000); window->isVisible() && !d.hasExpired();) {
            QApplication::processEvents();
            QThread::msleep(2);
        }
        return !window->isVisible();
    }
};

TEST_F(SignalCloserTest, AQuestionThatIsUpIsAnsweredNoAndTheListIsSavedOnClosing) {
    root.file("prog/TypeList.ini", "1*.abc\r\n");
    start(true);
    // "Reset the list?" answered Yes would remove the file and end the program unsaved.
    test::whenUp([](QWidget*) { std::raise(SIGTERM); });
    press("mResetType");
    ASSERT_TRUE(closedSoon());
    EXPECT_EQ(contentOf(prog + "/TypeList.ini"), "1*.abc\r\n");
    EXPECT_EQ(endNowCalls, 0);
}

TEST_F(SignalCloserTest, AMenuThatIsUpIsClosedWithoutAChoice) {
    start(false);
    CheckListView* view = window->listView("lstPat");
    test::whenUp([](QWidget*) { std::raise(SIGTERM); });
    test::clickMouse(view->viewport(), view->visualRect(view->model()->index(0, 0)).center(),
                     Qt::RightButton);
    ASSERT_TRUE(closedSoon());
    EXPECT_EQ(window->form().state().ui.lstPat.count(), 43u);
    EXPECT_EQ(endNowCalls, 0);
}

TEST_F(SignalCloserTest, AScanIsStoppedAndUnwoundBeforeTheClosingRemovesItsReport) {
    const std::string data = root.folder("data");
    for (int i = 1000; i < 1300; ++i) {
        std::ofstream(root.folder("data/d" + std::to_string(i)) + "/f.tmp") << "x";
    }
    start(false);
    press("cmdAddPath", {data});
    press("mDUSelAll");
    QAbstractItemModel* drives = window->listView("lstDrive")->model();
    drives->setData(drives->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    // The temporary folder too, so that the scan writes its report there.
    drives->setData(drives->index(drives->rowCount() - 1, 0), Qt::Checked, Qt::CheckStateRole);

    const CheckListModel& found = window->listView("lstFound")->checkModel();
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (found.size() >= 100) {
            user.stop();
            std::raise(SIGINT);
        }
    });
    user.start(0);
    // The summary's Yes opens the report window, which the closing has to dismiss.
    press("cmdFind");
    ASSERT_TRUE(closedSoon());
    EXPECT_LT(found.size(), 300u);
    // The summary only: no refusal to close while the scan unwound.
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.starts_with("用户终止!")) << dialogs.boxes[0].text;
    EXPECT_TRUE(exists(prog + "/TypeList.ini"));
    EXPECT_FALSE(exists(tmp + "/查找结果信息"));
    EXPECT_EQ(endNowCalls, 0);
}

TEST_F(SignalCloserTest, TheClosingsFailureBoxWaitsForTheUserUntilASecondSignal) {
    root.folder("prog/TypeList.ini");  // the list cannot be saved over a folder
    start(true);
    // Long enough after the box is up for the first signal's closing to have dismissed it.
    test::whenUp([](QWidget*) { QTimer::singleShot(200, [] { std::raise(SIGTERM); }); });
    std::raise(SIGTERM);
    for (QDeadlineTimer d(5000); endNowCalls == 0 && !d.hasExpired();) {
        QApplication::processEvents();
        QThread::msleep(2);
    }
    EXPECT_EQ(endNowCalls, 1);
    EXPECT_TRUE(boxUpAtEnd);
}

TEST_F(SignalCloserTest, TheDefaultActionsComeBackWithTheCloserGone) {
    start(false);
    watchdog.stop();
    closer.reset();
    for (int signal : {SIGTERM, SIGINT}) {
        struct sigaction now {};
        ::sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << signal;
    }
}

}  // namespace
}  // namespace scourix
