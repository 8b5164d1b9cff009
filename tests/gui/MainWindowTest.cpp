#include <gtest/gtest.h>

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <set>

#include "GuiTestSupport.h"
#include "app/MainForm.h"
#include "app/WindowDesign.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeShell.h"
#include "gui/MainWindow.h"
#include "platform/qt/CheckListView.h"
#include "platform/qt/QtWindowSystem.h"

namespace scourix {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The real main window over the real file system, with a program folder of its own and
// fake message boxes and shell.
class MainWindowTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    FakeDialogs dialogs;
    FakeShell shell;
    int endNowCalls = 0;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        window = std::make_unique<MainWindow>(
            MainWindowOptions{dir.path(), &dialogs, &shell, [this] { ++endNowCalls; }});
        window->form().Form_Load();
    }

    template <class T>
    T* find(std::string_view name) {
        return window->findChild<T*>(qs(name));
    }
    Controls& controls() { return window->form().state().ui.controls; }
    CheckList& list(std::string_view name) {
        auto& ui = window->form().state().ui;
        return name == "lstDrive" ? ui.lstDrive : name == "lstPat" ? ui.lstPat : ui.lstFound;
    }

    // Enabled as the user sees it: a menu item also needs its menu.
    bool enabled(std::string_view name) {
        if (auto* menu = find<QMenu>(name)) {
            return menu->menuAction()->isEnabled();
        }
        if (auto* action = find<QAction>(name)) {
            return action->isEnabled();
        }
        return find<QWidget>(name)->isEnabled();
    }
};

TEST_F(MainWindowTest, EveryDesignedControlAndMenuIsThereAndOnlyTheNineAreOffAfterStartUp) {
    const std::set<std::string_view> nine{"cmdStopFind", "mStopFind", "cmdDeltmp",
                                          "cmdKill",     "mKill",     "cmdFileAttrib",
                                          "mAttrib",     "cmdOpen",   "mOpen"};
    std::vector<std::string_view> names;
    for (const ControlDesign& d : controlDesigns()) {
        names.push_back(d.name);
        EXPECT_EQ(find<QWidget>(d.name)->parentWidget(), window->clientArea()) << d.name;
    }
    for (const MenuDesign& m : menuDesigns()) {
        names.push_back(m.name);
        for (const MenuItemDesign& item : m.items) {
            if (!item.isSeparator()) {
                names.push_back(item.name);
            }
        }
    }
    for (std::string_view name : names) {
        EXPECT_EQ(enabled(name), !nine.count(name)) << name;
    }
    EXPECT_EQ(find<QLabel>("Label4")->text(), QStringLiteral("Scourix 1.51"));
}

TEST_F(MainWindowTest, EnterAndEscapePressTheDefaultAndCancelButtonsWhenEnabled) {
    list("lstDrive").setAllChecked(false);  // a scan, if one starts, ends at once
    int finds = 0, stops = 0;
    QObject::connect(find<QPushButton>("cmdFind"), &QPushButton::clicked, [&] { ++finds; });
    QObject::connect(find<QPushButton>("cmdStopFind"), &QPushButton::clicked, [&] { ++stops; });
    auto* lstPat = find<QWidget>("lstPat");
    lstPat->setFocus();
    test::typeKey(lstPat, Qt::Key_Return);
    test::typeKey(lstPat, Qt::Key_Escape);
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(stops, 0) << "cmdStopFind is disabled after start-up";

    controls().setEnabled("cmdFind", false);
    controls().setEnabled("cmdStopFind", true);
    lstPat->setFocus();
    test::typeKey(lstPat, Qt::Key_Enter, Qt::KeypadModifier);
    test::typeKey(lstPat, Qt::Key_Escape);
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(stops, 1);
    // The refusal during a scan and the saved list are the end-to-end tests'.
    find<QPushButton>("cmdClose")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(endNowCalls, 0);
}

TEST_F(MainWindowTest, ThePointerDoesNotPileUp) {
    QtWindowSystem& ws = window->windowSystem();
    ws.setPointer(kPointerHourglass);
    ws.setPointer(kPointerHourglass);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ws.setPointer(kPointerDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace scourix
