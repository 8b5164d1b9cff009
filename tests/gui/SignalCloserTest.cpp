#include <gtest/gtest.h>

#include <csignal>

#include "GuiTestSupport.h"
#include "gui/SignalCloser.h"
#include "platform/qt/MessageBoxDialog.h"

namespace scourix {

// The real window with the handlers installed; signals raised in the process reach it.
// Ending at once counts, and closes whatever is up so that the test goes on.
class SignalCloserTest : public ::testing::Test {
protected:
    test::TestWindow t;
    std::vector<QWidget*> upAtEnd;  // what was up each time the program ended at once
    std::unique_ptr<SignalCloser> closer;
    QTimer watchdog;  // a box left up would hang the test: a second signal ends it

    void start(bool realBoxes, bool signalFirst = false) {
        t.reader.stop();
        t.boxes = realBoxes ? nullptr : &t.dialogs;
        t.endNow = [this] {
            upAtEnd.push_back(test::upNow());
            if (upAtEnd.back()) {
                upAtEnd.back()->close();
            }
        };
        t.start(false);
        closer = std::make_unique<SignalCloser>(*t.window);
        QObject::connect(&watchdog, &QTimer::timeout, [] { std::raise(SIGTERM); });
        watchdog.start(30000);
        if (signalFirst) {  // taken in before start-up has begun
            std::raise(SIGTERM);
            test::waitFor([] { return false; }, 100);
        }
        t.window->form().Form_Load();
    }
    bool closedSoon() {
        return test::waitFor([this] { return !t.window->isVisible(); }) && upAtEnd.empty();
    }
};

TEST_F(SignalCloserTest, AQuestionThatIsUpIsAnsweredNoAndTheListIsSavedOnClosing) {
    t.root.file("prog/TypeList.ini", "1*.abc\r\n");
    start(true);
    // "Reset the list?" answered Yes would remove the file and end the program unsaved.
    test::whenUp([](QWidget*) { std::raise(SIGTERM); });
    t.press("mResetType");
    ASSERT_TRUE(closedSoon());
    EXPECT_EQ(test::contentOf(t.prog + "/TypeList.ini"), "1*.abc\r\n");
}

// The list is read whole before it is saved.
TEST_F(SignalCloserTest, ASignalBeforeStartUpHasFinishedClosesTheWindowOnceItHas) {
    t.root.file("prog/TypeList.ini", "0*.abc\r\n");
    start(false, true);
    ASSERT_TRUE(closedSoon());
    EXPECT_EQ(test::contentOf(t.prog + "/TypeList.ini"), "0*.abc\r\n");
}

TEST_F(SignalCloserTest, ASecondSignalEndsTheProgramAtOnce) {
    start(false);
    std::raise(SIGTERM);
    std::raise(SIGTERM);
    EXPECT_TRUE(test::waitFor([this] { return upAtEnd.size() == 1; }));
}

TEST_F(SignalCloserTest, AMenuThatIsUpIsClosedWithoutAChoiceAndTheDefaultsComeBackAfter) {
    start(false);
    test::whenUp([](QWidget*) { std::raise(SIGTERM); });
    t.press("lstPat@R");
    ASSERT_TRUE(closedSoon());
    EXPECT_EQ(t.ui().lstPat.count(), 43u);
    watchdog.stop();
    closer.reset();
    for (int signal : {SIGTERM, SIGINT}) {
        struct sigaction now {};
        ::sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << signal;
    }
}

TEST_F(SignalCloserTest, AScanIsStoppedAndUnwoundBeforeTheClosingRemovesItsReport) {
    for (int i = 1000; i < 1300; ++i) {
        std::ofstream(t.root.folder("data/d" + std::to_string(i)) + "/f.tmp") << "x";
    }
    start(false);
    // The data folder and the temporary folder, so that the scan writes its report there.
    CheckList& places = t.ui().lstDrive;
    places.insert(0, t.data);
    places.setAllChecked(false);
    places.setChecked(0, true);
    places.setChecked(places.count() - 1, true);
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (t.ui().lstFound.count() >= 100) {
            user.stop();
            std::raise(SIGINT);
        }
    });
    user.start(0);
    t.press("cmdFind");  // the summary's Yes opens the report window, which has to go too
    ASSERT_TRUE(closedSoon());
    EXPECT_LT(t.ui().lstFound.count(), 300u);
    EXPECT_EQ(t.dialogs.boxes.size(), 1u) << "no refusal to close while the scan unwound";
    EXPECT_TRUE(test::exists(t.prog + "/TypeList.ini") && !test::exists(t.tmp + "/查找结果信息"));
}

// A logout waits for nobody: the box of a list that cannot be saved gets its answer as
// soon as it is up, and the program ends without a second signal.
TEST_F(SignalCloserTest, TheClosingsOwnFailureBoxIsAnsweredAtOnce) {
    t.root.folder("prog/TypeList.ini");  // the list cannot be saved over a folder
    start(true);
    struct Shown final : QObject {
        int boxes = 0;
        bool eventFilter(QObject* watched, QEvent* event) override {
            boxes += event->type() == QEvent::Show && qobject_cast<MessageBoxDialog*>(watched);
            return false;
        }
    } shown;
    qApp->installEventFilter(&shown);
    std::raise(SIGTERM);
    EXPECT_TRUE(closedSoon());
    qApp->removeEventFilter(&shown);
    EXPECT_EQ(shown.boxes, 1);
}

}  // namespace scourix
