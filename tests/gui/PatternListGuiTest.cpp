#include <gtest/gtest.h>

#include <QMenu>

#include "GuiTestSupport.h"
#include "app/MainForm.h"
#include "fakes/FakeDialogs.h"
#include "gui/MainWindow.h"
#include "platform/qt/CheckListView.h"

namespace scourix {
namespace {

TEST(PatternListGuiTest, RightClickMenuRemovesTheEntryCurrentBeforeItAndClicksSetTheToolTip) {
    test::TempDir dir;
    FakeDialogs dialogs;
    MainWindow window(MainWindowOptions{dir.path(), &dialogs, nullptr, [] {}});
    window.form().Form_Load();
    CheckListView* view = window.listView("lstPat");
    const auto row = [view](int r) {
        return view->visualRect(view->model()->index(r, 0)).center();
    };
    test::clickMouse(view->viewport(), row(1), Qt::LeftButton);
    EXPECT_EQ(view->toolTip(), QStringLiteral("*.#Res"));

    // A right click on another entry opens the menu; its "删除类型" takes the clicked one.
    QString popup;
    test::whenUp([&popup](QWidget* up) {
        popup = up->objectName();
        auto* menu = qobject_cast<QMenu*>(up);
        QAction* remove = menu->findChild<QAction*>(QStringLiteral("mDelType"));
        test::clickMouse(menu, menu->actionGeometry(remove).center(), Qt::LeftButton);
    });
    test::clickMouse(view->viewport(), row(3), Qt::RightButton);
    EXPECT_EQ(popup, QStringLiteral("PopType"));
    const CheckList& pat = window.form().state().ui.lstPat;
    ASSERT_EQ(pat.count(), 42u);
    EXPECT_EQ(pat.text(1), "*.$$$");
    EXPECT_EQ(pat.text(2), "*.&&&");
}

}  // namespace
}  // namespace scourix
