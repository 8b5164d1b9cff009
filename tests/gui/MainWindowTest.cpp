#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <fstream>
#include <set>

#include "GuiTestSupport.h"
#include "app/MainForm.h"
#include "app/WindowDesign.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeShell.h"
#include "gui/MainWindow.h"
#include "platform/qt/CheckListView.h"
#include "platform/qt/QtWindowSystem.h"
#include "types/BuiltInTypes.h"

namespace scourix {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The real main window over the real file system, with a program folder of its own and
// fake message boxes and shell.
class MainWindowTest : public ::testing::Test {
protected:
    test::TempDir dir;
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

    // Enabled as the user sees it: a menu item also needs its menu.
    bool enabled(std::string_view name) {
        if (auto* menu = find<QMenu>(name)) {
            return menu->menuAction()->isEnabled();
        }
        if (auto* action = find<QAction>(name)) {
            return action->isEnabled();
        }
        auto* w = find<QWidget>(name);
        return w && w->isEnabled();
    }
};

TEST_F(MainWindowTest, ControlsFollowTheDesignTable) {
    EXPECT_EQ(window->objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Scourix 1.51"));
    for (const ControlDesign& d : controlDesigns()) {
        SCOPED_TRACE(std::string(d.name));
        auto* w = find<QWidget>(d.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), window->clientArea());
        EXPECT_EQ(w->toolTip(), qs(d.toolTip));
        switch (d.kind) {
            case ControlKind::Button:
                ASSERT_NE(qobject_cast<QPushButton*>(w), nullptr);
                EXPECT_EQ(qobject_cast<QPushButton*>(w)->text(), qs(d.caption));
                break;
            case ControlKind::CheckBox:
                ASSERT_NE(qobject_cast<QCheckBox*>(w), nullptr);
                EXPECT_EQ(qobject_cast<QCheckBox*>(w)->text(), qs(d.caption));
                EXPECT_EQ(qobject_cast<QCheckBox*>(w)->isChecked(), d.value != 0);
                break;
            case ControlKind::CheckList:
                EXPECT_NE(qobject_cast<CheckListView*>(w), nullptr);
                break;
            case ControlKind::Label:
                ASSERT_NE(qobject_cast<QLabel*>(w), nullptr);
                // Start-up copies the window caption into the heading.
                EXPECT_EQ(qobject_cast<QLabel*>(w)->text(),
                          d.name == "Label4" ? QStringLiteral("Scourix 1.51") : qs(d.caption));
                break;
            case ControlKind::Picture:
                EXPECT_FALSE(qobject_cast<QLabel*>(w)->pixmap().isNull());
                break;
            case ControlKind::Line:
                break;
        }
    }
    EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(MainWindowTest, MenusFollowTheDesignTableInOrder) {
    const QList<QAction*> bar = window->menuBar()->actions();
    const auto designs = menuDesigns();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(designs.size()));
    for (std::size_t m = 0; m < designs.size(); ++m) {
        const MenuDesign& d = designs[m];
        QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), qs(d.name));
        EXPECT_EQ(menu->title(), qs(d.caption));
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(d.items.size())) << d.name;
        for (std::size_t i = 0; i < d.items.size(); ++i) {
            const MenuItemDesign& item = d.items[i];
            QAction* a = items[static_cast<qsizetype>(i)];
            SCOPED_TRACE(std::string(d.name) + " item " + std::to_string(i));
            EXPECT_EQ(a->isSeparator(), item.isSeparator());
            EXPECT_EQ(a->objectName(), qs(item.name));
            if (!item.isSeparator()) {
                EXPECT_EQ(a->text(), qs(item.caption));
            }
        }
    }
    EXPECT_EQ(controls().toolTip("mOpen"), "") << "menu items have no tool tips";
}

TEST_F(MainWindowTest, ExactlyTheNineCommandsAreDisabledAfterStartUp) {
    const std::set<std::string_view> disabled{"cmdStopFind", "mStopFind", "cmdDeltmp",
                                              "cmdKill",     "mKill",     "cmdFileAttrib",
                                              "mAttrib",     "cmdOpen",   "mOpen"};
    std::vector<std::string_view> names;
    for (const ControlDesign& d : controlDesigns()) {
        names.push_back(d.name);
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
        EXPECT_EQ(enabled(name), !disabled.count(name)) << name;
        EXPECT_EQ(controls().enabled(name), !disabled.count(name)) << name;
    }
}

TEST_F(MainWindowTest, LayoutInTwipsAtNinetySixDpi) {
    ASSERT_EQ(window->logicalDpiX(), 96);
    // The top of the window keeps its design places: 15 twips to the pixel.
    EXPECT_EQ(find<QWidget>("cmdFind")->geometry(), QRect(144, 96, 105, 25));
    EXPECT_EQ(find<QWidget>("cmdClose")->geometry(), QRect(584, 64, 65, 57));
    EXPECT_EQ(find<QWidget>("lstDrive")->geometry(), QRect(8, 80, 121, 107));
    EXPECT_EQ(find<QWidget>("Label3")->geometry(), QRect(8, 56, 641, 4));
    EXPECT_EQ(controls().geometry("chkSelAll"), (Rect{2160, 1920, 1815, 255}));
    EXPECT_EQ(window->clientArea()->size(), QSize(682, 513));
    EXPECT_EQ(controls().geometry("frmMain"), (Rect{0, 0, 10230, 7695}));

    // Resizing the window runs the layout rules on the new client area.
    window->resize(900, 700);
    QApplication::processEvents();
    const QSize client = window->clientArea()->size();
    const QRect info = find<QWidget>("lblInfo")->geometry();
    const QRect found = find<QWidget>("lstFound")->geometry();
    EXPECT_EQ(info.bottom() + 1, client.height());
    EXPECT_EQ(found.bottom() + 1, info.top());
    EXPECT_EQ(found.right() + 1, info.right() + 1);
    EXPECT_EQ(find<QWidget>("Picture1")->geometry().right() + 1, client.width());

    // A negative size is refused; the control keeps what it had.
    const Rect before = controls().geometry("lstPat");
    controls().setGeometry("lstPat", Rect{before.left, before.top, before.width, -30});
    EXPECT_EQ(controls().geometry("lstPat"), before);
}

TEST_F(MainWindowTest, CreamBackgroundWhereTheDesignSaysSo) {
    const QColor cream(253, 253, 240);
    EXPECT_EQ(window->clientArea()->palette().color(QPalette::Window), cream);
    EXPECT_TRUE(window->clientArea()->autoFillBackground());
    for (const ControlDesign& d : controlDesigns()) {
        if (d.kind == ControlKind::Button) {
            EXPECT_EQ(find<QWidget>(d.name)->palette().color(QPalette::Button) == cream, d.cream)
                << d.name;
        }
    }
}

TEST_F(MainWindowTest, EnterAndEscapePressTheDefaultAndCancelButtonsWhenEnabled) {
    // Nothing ticked to search, so that a scan, if the button starts one, ends at once.
    window->form().state().ui.lstDrive.setAllChecked(false);
    int finds = 0, stops = 0;
    QObject::connect(find<QPushButton>("cmdFind"), &QPushButton::clicked, [&] { ++finds; });
    QObject::connect(find<QPushButton>("cmdStopFind"), &QPushButton::clicked, [&] { ++stops; });

    auto* list = find<QWidget>("lstPat");
    list->setFocus();
    test::typeKey(list, Qt::Key_Return);
    test::typeKey(list, Qt::Key_Escape);
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(stops, 0) << "cmdStopFind is disabled after start-up";

    controls().setEnabled("cmdFind", false);
    controls().setEnabled("cmdStopFind", true);
    list->setFocus();
    test::typeKey(list, Qt::Key_Enter, Qt::KeypadModifier);
    test::typeKey(list, Qt::Key_Escape);
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(stops, 1);
}

TEST_F(MainWindowTest, ClosingSavesThePatternListOrIsRefusedDuringAScan) {
    window->form().state().bStop = false;
    window->close();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "错误");

    window->form().state().bStop = true;
    window->form().state().scanActive = false;
    // The user's click on 关闭 asks the window to close, which runs the closing procedure.
    find<QPushButton>("cmdClose")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(std::ifstream(dir / "TypeList.ini").good());
    EXPECT_EQ(endNowCalls, 0);
}

TEST_F(MainWindowTest, AScanFromTheButtonsFillsTheResultList) {
    const std::string junk = dir / "junk";
    ::mkdir(junk.c_str(), 0700);
    ::mkdir((junk + "/sub").c_str(), 0700);
    for (const char* name : {"a.tmp", "b.bak", "keep.txt", "sub/c.old"}) {
        std::ofstream(junk + "/" + name) << "12345";
    }
    dialogs.inputs = {junk};
    find<QPushButton>("cmdAddPath")->click();
    CheckList& drives = window->form().state().ui.lstDrive;
    ASSERT_EQ(drives.text(0), junk);
    drives.setAllChecked(false);
    drives.setChecked(0, true);

    dialogs.answers = {mb::kIdNo};  // no details
    find<QPushButton>("cmdFind")->click();

    CheckList& found = window->form().state().ui.lstFound;
    ASSERT_EQ(found.count(), 3u);
    std::set<std::string> paths;
    for (std::size_t i = 0; i < found.count(); ++i) {
        paths.insert(found.text(i));
    }
    EXPECT_EQ(paths,
              (std::set<std::string>{junk + "/a.tmp", junk + "/b.bak", junk + "/sub/c.old"}));
    EXPECT_EQ(find<QLabel>("lblInfo")->text().left(7), QStringLiteral("找到 3个文件"));
    EXPECT_TRUE(enabled("cmdKill"));
    EXPECT_FALSE(enabled("cmdStopFind"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_FALSE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.boxes.back().title, "查找完成");
}

TEST_F(MainWindowTest, EscapeDuringAScanStopsIt) {
    const std::string junk = dir / "junk";
    ::mkdir(junk.c_str(), 0700);
    for (const char* sub : {"/a", "/b", "/c"}) {
        ::mkdir((junk + sub).c_str(), 0700);
    }
    dialogs.inputs = {junk};
    find<QPushButton>("cmdAddPath")->click();
    CheckList& drives = window->form().state().ui.lstDrive;
    drives.setAllChecked(false);
    drives.setChecked(0, true);

    // Escape as soon as the scan lets events in with Stop enabled.
    QTimer stopper;
    stopper.setInterval(0);
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (enabled("cmdStopFind")) {
            stopper.stop();
            test::typeKey(window.get(), Qt::Key_Escape);
        }
    });
    stopper.start();
    dialogs.answers = {mb::kIdNo};
    find<QPushButton>("cmdFind")->click();

    ASSERT_FALSE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.boxes.back().text.rfind("用户终止!", 0), 0u) << dialogs.boxes.back().text;
    EXPECT_TRUE(window->form().state().bStop);
}

TEST_F(MainWindowTest, ValuesSetInCodeRunNoHandler) {
    int clicks = 0;
    QObject::connect(find<QCheckBox>("chkSelAll"), &QCheckBox::clicked, [&] { ++clicks; });
    controls().setValue("chkSelAll", 1);
    EXPECT_EQ(controls().value("chkSelAll"), 1);
    const int narrow = find<QWidget>("Label4")->width();
    controls().setCaption("Label4", "一个长得多的标题 Scourix 1.51");
    EXPECT_GT(find<QWidget>("Label4")->width(), narrow + 100) << "the heading fits its text";
    EXPECT_EQ(clicks, 0);
}

TEST_F(MainWindowTest, RightClickOnLocationsOpensItsMenuAndKeepsTheCurrentEntry) {
    auto* view = window->listView("lstDrive");
    ASSERT_GT(view->model()->rowCount(), 0);
    QString popup;
    test::whenUp([&](QWidget* up) {
        popup = up->objectName();
        up->close();
    });
    test::clickMouse(view->viewport(), view->visualRect(view->model()->index(0, 0)).center(),
                     Qt::RightButton);
    EXPECT_EQ(popup, QStringLiteral("PopDrive"));
    EXPECT_EQ(window->form().state().ui.lstDrive.currentIndex(), -1);
}

TEST_F(MainWindowTest, InformationWindowsBelongToTheMainWindow) {
    std::unique_ptr<InfoWindow> info = window->windowSystem().loadInfoWindow();
    auto* dialog = dynamic_cast<QWidget*>(info.get());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->objectName(), QStringLiteral("frmErr"));
    EXPECT_EQ(dialog->parentWidget(), window.get());
}

TEST(MainWindowDesign, PatternListHoldsTheBuiltInsUntickedBeforeStartUp) {
    test::TempDir dir;
    FakeDialogs dialogs;
    MainWindow window(MainWindowOptions{dir.path(), &dialogs, nullptr, [] {}});
    CheckList& pat = window.form().state().ui.lstPat;
    ASSERT_EQ(pat.count(), builtInTypes().size());
    for (std::size_t i = 0; i < pat.count(); ++i) {
        EXPECT_EQ(pat.text(i), builtInTypes()[i]);
        EXPECT_FALSE(pat.checked(i));
    }
}

TEST(MainWindowDesign, PointerOverrideDoesNotPileUp) {
    test::TempDir dir;
    MainWindow window(MainWindowOptions{dir.path(), nullptr, nullptr, [] {}});
    QtWindowSystem& ws = window.windowSystem();
    ws.setPointer(kPointerHourglass);
    ws.setPointer(kPointerHourglass);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ws.setPointer(kPointerDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace scourix
