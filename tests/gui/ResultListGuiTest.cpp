#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMenu>
#include <fstream>

#include "GuiTestSupport.h"
#include "app/MainForm.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeShell.h"
#include "gui/MainWindow.h"
#include "platform/qt/CheckListView.h"

namespace scourix {
namespace {

class ResultListGuiTest : public ::testing::Test {
protected:
    test::TempDir dir;
    FakeDialogs dialogs;
    FakeShell shell;
    MainWindow window{MainWindowOptions{dir.path(), &dialogs, &shell, [] {}}};
    CheckListView* view = window.listView("lstFound");
    CheckList& found = window.form().state().ui.lstFound;

    void SetUp() override {
        window.form().Form_Load();
        for (const char* name : {"a.tmp", "b.tmp", "c.tmp"}) {
            std::ofstream(dir / name) << "x";
            found.append(dir / name);
        }
        // Appends close together reach the view a little later, without any further change.
        QElapsedTimer waited;
        for (waited.start(); view->model()->rowCount() < 3 && waited.elapsed() < 2000;) {
            QApplication::processEvents();
        }
    }
    QPoint row(int r) { return view->visualRect(view->model()->index(r, 0)).center(); }
    void trigger(const char* name) { window.findChild<QAction*>(name)->trigger(); }
    std::vector<bool> shownTicks() {
        std::vector<bool> ticks;
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            ticks.push_back(view->model()->index(r, 0).data(Qt::CheckStateRole) == Qt::Checked);
        }
        return ticks;
    }
};

TEST_F(ResultListGuiTest, RightClickMenuOpensTheCurrentEntryNotTheOneUnderThePointer) {
    auto* menu = window.findChild<QMenu*>("mList");
    int shown = 0;
    QObject::connect(menu, &QMenu::aboutToShow, [&] { ++shown; });
    test::clickMouse(view->viewport(), row(1), Qt::RightButton);
    test::clickMouse(view->viewport(), row(1), Qt::LeftButton);
    test::clickMouse(view->viewport(), row(2), Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(shown, 0) << "no current entry yet, then Shift held";

    QString opensWith;
    test::whenUp([&](QWidget* up) {
        auto* popup = qobject_cast<QMenu*>(up);
        QAction* open = popup->findChild<QAction*>(QStringLiteral("mOpen"));
        opensWith = open->text();
        test::clickMouse(popup, popup->actionGeometry(open).center(), Qt::LeftButton);
    });
    test::clickMouse(view->viewport(), row(2), Qt::RightButton);
    EXPECT_EQ(opensWith, QStringLiteral("打开 b.tmp"));
    EXPECT_EQ(shell.openedDocuments, std::vector<std::string>{dir / "b.tmp"});
}

// The rules of the tick commands are the core's; here they must reach the view.
TEST_F(ResultListGuiTest, TickCommandsAndClearingShowInTheList) {
    trigger("mSelAll");
    EXPECT_EQ(shownTicks(), (std::vector<bool>{true, true, true}));
    found.setChecked(0, false);
    trigger("mLChSel");
    EXPECT_EQ(shownTicks(), (std::vector<bool>{true, false, false}));
    trigger("mSelAllUn");
    EXPECT_EQ(shownTicks(), (std::vector<bool>{false, false, false}));
    window.findChild<QCheckBox*>("chkSelAll")->click();
    EXPECT_EQ(shownTicks(), (std::vector<bool>{true, true, true}));
    trigger("mClear");
    EXPECT_EQ(view->model()->rowCount(), 0);
}

}  // namespace
}  // namespace scourix
