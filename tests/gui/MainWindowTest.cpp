#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <map>

#include "GuiTestSupport.h"
#include "platform/InfoWindow.h"
#include "platform/qt/QtWindowSystem.h"

namespace scourix {

using test::TestWindow;
using Texts = std::vector<std::string>;

// All a procedure leaves that the user could see, and the Stop request, with the
// window's own folder as "~" so that windows over different folders compare.
static std::string trace(TestWindow& t) {
    Controls& c = t.ui().controls;
    std::string all = t.shown + c.caption("lblInfo") + c.caption("mOpen") +
                      t.view("lstPat")->toolTip().toStdString() +
                      std::to_string(c.value("chkSelAll")) +
                      std::to_string(t.window->isVisible() + 2 * t.window->form().state().bStop);
    for (const FakeDialogs::Box& box : t.dialogs.boxes) {
        all += "|box " + box.text;
    }
    for (const FakeDialogs::Input& input : t.dialogs.inputBoxes) {
        all += "|input " + input.prompt;
    }
    for (const Texts& texts :
         {t.shell.openedDocuments, t.shell.shownProperties, t.shell.openedTextFiles}) {
        for (const std::string& text : texts) {
            all += "|" + text;
        }
        all += "\n";
    }
    for (CheckList* list : {&t.ui().lstDrive, &t.ui().lstPat, &t.ui().lstFound}) {
        for (std::size_t i = 0; i < list->count(); ++i) {
            all += (list->checked(i) ? "|1" : "|0") + list->text(i);
        }
        all += "\n";
    }
    for (std::size_t at; (at = all.find(t.root.path())) != std::string::npos;) {
        all.replace(at, t.root.path().size(), "~");
    }
    return all;
}

// Each command in a window of its own, with the temporary folder the only location, all
// patterns but the first ticked and that one current, and the second of two entries found
// ticked, the first current: a command and its twin ("=") leave the same trace, and no two
// procedures the same. The tick box, from unticked, does what 全选 does.
TEST(MainWindowTest, EveryCommandRunsItsOwnProcedureAndItsTwinTheSame) {
    const QStringList procedures =
        QStringLiteral(
            "cmdClose=mClose cmdAddPath=mAddPath mDSelAll mDUSelAll mDChSell cmdFind=mFind "
            "cmdStopFind=mStopFind chkSelAll=mSelAll mSelAllUn mLChSel mClear mSaveList mHomePage "
            "mAbout cmdOpen=mOpen cmdFileAttrib=mAttrib cmdKill=mKill cmdDeltmp mRename "
            "cmdAdd=mAddType cmdRemove=mDelType mResetType mTSelAll mTUSelAll mTChSel "
            "cmdFindFile=mFindFile cmdListTempFile=mListtempfiles lstPat@L lstPat@R lstPat@T "
            "lstDrive@R lstDrive@T lstFound@L lstFound@R lstFound@T mReportType mAddLinuxTypes "
            "lstFound@D")
            .split(' ');
    std::map<std::string, QString> seen;  // a trace, and the command that left it
    for (const QString& twins : procedures) {
        std::string left;
        for (const QString& name : twins.split('=')) {
            TestWindow t;
            t.start();
            Platform& ui = t.ui();
            ui.lstDrive.setAllChecked(false);
            ui.lstDrive.setChecked(ui.lstDrive.count() - 1, true);
            ui.lstPat.setChecked(0, false);
            t.view("lstPat")->setCurrentRow(0);
            ui.lstFound.appendMany({t.root.file("data/a.tmp"), t.root.file("data/b.tmp", "b")});
            ui.lstFound.setChecked(1, true);
            ui.lstFound.repaint();  // the view hears of the entries appended
            t.view("lstFound")->setCurrentRow(0);
            ui.controls.setEnabled(name.toStdString(), true);
            ui.controls.setValue("chkSelAll", name == "mSelAllUn");       // else nothing to untick
            t.window->form().state().bStop = !name.endsWith("StopFind");  // nor to stop
            t.dialogs.answers = {mb::kIdNo, mb::kIdNo, mb::kIdNo};  // no report: it bears the time
            const std::string before = trace(t);
            t.press(name);
            EXPECT_NE(trace(t), before) << name.toStdString();
            EXPECT_TRUE(left.empty() || trace(t) == left) << twins.toStdString();
            left = trace(t);
        }
        const auto [at, fresh] = seen.emplace(left, twins);
        EXPECT_TRUE(fresh) << twins.toStdString() << " does what " << at->second.toStdString();
    }
}

TEST(MainWindowTest, AFailureInACommandEndsItWithABoxAndTheProgramGoesOn) {
    struct Exhausted : FakeDialogs {
        std::string inputBox(const std::string&, const std::string&, const std::string&) override {
            throw std::bad_alloc();
        }
    } dialogs;
    TestWindow t;
    t.boxes = &dialogs;
    t.start();
    const std::size_t patterns = t.ui().lstPat.count();
    t.press("cmdAdd");
    t.press("cmdAdd");
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text + std::to_string(dialogs.boxes[1].flags),
              "操作没有完成：内存不足。16");
    EXPECT_EQ(t.ui().lstPat.count(), patterns);
}

TEST(MainWindowTest, ControlsMenusKeysThePointerAndARenamedEntry) {
    TestWindow t;
    t.start(false);
    EXPECT_FALSE(t.window->close()) << "closing waits for the start-up";
    t.window->form().Form_Load();
    EXPECT_EQ(t.window->findChild<QPushButton*>("cmdFind")->palette().color(QPalette::Button),
              QColor(kCream.red, kCream.green, kCream.blue));  // a button on the window's cream
    QWidget* found = t.view("lstFound");  // the controls follow the window's size
    const int width = found->width();
    t.window->resize(t.window->width() + 200, t.window->height());
    EXPECT_TRUE(test::waitFor([&] { return found->width() > width + 150; }));
    t.ui().controls.setEnabled("mList", false);  // a menu, through the action that opens it
    EXPECT_FALSE(t.window->findChild<QMenu*>("mList")->menuAction()->isEnabled());

    // Enter presses 扫描 and Escape 停止, each only while enabled; Ctrl+Enter neither.
    t.ui().lstDrive.setAllChecked(false);  // 扫描 then only says that nothing is ticked
    bool& stopped = t.window->form().state().bStop = false;
    QWidget* list = t.view("lstPat");
    list->setFocus();
    for (bool scanning : {false, true}) {
        t.ui().controls.setEnabled("cmdStopFind", scanning);
        t.ui().controls.setEnabled("cmdFind", !scanning);
        test::typeKey(list, Qt::Key_Return, Qt::ControlModifier);
        test::typeKey(list, Qt::Key_Escape);
        test::typeKey(list, scanning ? Qt::Key_Return : Qt::Key_Enter,
                      scanning ? Qt::NoModifier : Qt::KeypadModifier);
        EXPECT_TRUE(t.dialogs.boxes.size() == 1 && stopped == scanning) << scanning;
    }
    t.window->findChild<QWidget*>("cmdAddPath")->setFocus();  // Enter presses the focused one
    test::typeKey(list, Qt::Key_Return);
    EXPECT_EQ(t.dialogs.inputBoxes.size(), 1u);
    // The status line shows a change at once when it has not just shown one, as plain text;
    // the last of quick changes a moment later.
    auto* status = t.window->findChild<QLabel*>("lblInfo");
    QThread::msleep(50);
    t.ui().controls.setCaption("lblInfo", "<b>a\nb</b>");
    EXPECT_TRUE(status->text() == "<b>a\\nb</b>" && status->textFormat() == Qt::PlainText);
    t.ui().controls.setCaption("lblInfo", "b");
    t.ui().controls.setCaption("lblInfo", "c");
    EXPECT_TRUE(test::waitFor([&] { return status->text() == "c"; }));

    QtWindowSystem& ws = t.window->windowSystem();  // one hourglass, however often asked
    ws.setPointer(kPointerHourglass);
    ws.setPointer(kPointerHourglass);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ws.setPointer(kPointerDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A rename shows the new name in the entry the user clicked, the file having it on disk.
    t.ui().lstFound.appendMany({t.root.file("data/a.tmp"), t.root.file("data/b.tmp")});
    t.ui().lstFound.repaint();
    t.press("lstFound@L");
    t.dialogs.inputs = {"c\\xFF.tmp"};  // typed as names are shown
    t.press("mRename");
    EXPECT_EQ(t.view("lstFound")->model()->index(1, 0).data().toString().toStdString(),
              t.data + "/c\\xFF.tmp");
    EXPECT_TRUE(test::exists(t.data + "/c\xff.tmp") && !test::exists(t.data + "/b.tmp"));
    EXPECT_TRUE(t.window->close());
}

}  // namespace scourix
