#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QThread>
#include <QTimer>

#include "app/MainForm.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeShell.h"
#include "gui/MainWindow.h"
#include "platform/qt/CheckListView.h"
#include "posix/TempFolder.h"

namespace scourix::test {

inline QWidget* upNow() {
    QWidget* w = QApplication::activePopupWidget();
    return w ? w : QApplication::activeModalWidget();
}

// Runs act on the next modal dialog or pop-up menu as soon as it is up, from inside its
// own event loop; the code under test blocks in that loop meanwhile.
inline void whenUp(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* w = upNow(); w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start(5);
}

inline bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    for (QDeadlineTimer d(ms); !done() && !d.hasExpired(); QThread::msleep(2)) {
        QApplication::processEvents();
    }
    return done();
}

// A key typed into the widget that has the focus in w's window (or w itself); an
// unhandled key travels up to the window as it would from the keyboard.
inline void typeKey(QWidget* w, int key, Qt::KeyboardModifiers mods = {},
                    const QString& text = {}) {
    QWidget* target = w->window()->focusWidget() ? w->window()->focusWidget() : w;
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent e(type, key, mods, text);
        QApplication::sendEvent(target, &e);
    }
}

// A click on an entry of a list, where the user would click it, or a double click (which
// Qt sends after a click).
inline void clickAt(QListView* view, QPoint at, Qt::MouseButton button,
                    Qt::KeyboardModifiers mods = {}, bool twice = false) {
    using T = QEvent::Type;
    for (T type : twice ? std::vector{T::MouseButtonDblClick}
                        : std::vector{T::MouseButtonPress, T::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == T::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent e(type, QPointF(at), QPointF(view->viewport()->mapToGlobal(at)), button, held,
                      mods);
        QApplication::sendEvent(view->viewport(), &e);
    }
}
inline void onRow(QListView* view, int row, Qt::MouseButton button, Qt::KeyboardModifiers mods = {},
                  bool twice = false) {
    clickAt(view, view->visualRect(view->model()->index(row, 0)).center(), button, mods, twice);
}

inline QPoint tickBoxAt(QListView* view, int row) {
    const QModelIndex index = view->model()->index(row, 0);
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.rect = view->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    return view->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, view)
        .center();
}

// The real main window over a program folder, a temporary folder ($TMPDIR) and a data
// folder of its own, with scripted boxes and a recording desktop. While the reader runs,
// an information window or a pop-up menu is closed as soon as it is up, its name and text
// added to `shown`.
class TestWindow {
public:
    const std::string oldTmpdir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    TempFolder root;
    const std::string prog = root.folder("prog"), tmp = root.folder("tmp"),
                      data = root.folder("data");
    FakeDialogs dialogs;
    FakeShell shell;
    Dialogs* boxes = &dialogs;  // null for the program's own
    std::function<void()> endNow = [] {};
    std::unique_ptr<MainWindow> window;
    std::string shown;
    QTimer reader;

    TestWindow() {
        ::setenv("TMPDIR", tmp.c_str(), 1);
        QObject::connect(&reader, &QTimer::timeout, [this] {
            if (QWidget* up = upNow()) {
                const auto* text = up->findChild<QPlainTextEdit*>();
                shown +=
                    (up->objectName() + (text ? text->toPlainText() : "") + "\n").toStdString();
                up->close();
            }
        });
        reader.start(5);
    }
    ~TestWindow() {
        window.reset();
        oldTmpdir.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", oldTmpdir.c_str(), 1);
    }

    void start(bool load = true) {
        window = std::make_unique<MainWindow>(MainWindowOptions{prog, boxes, &shell, endNow});
        load ? window->form().Form_Load() : void();
    }
    Platform& ui() { return window->form().state().ui; }
    CheckListView* view(const char* name) { return window->listView(name); }

    // Presses a button, chooses a menu item, or clicks a list's second entry with the Left or
    // Right button, on its Tick box, or Double clicks it ("lstFound@D").
    void press(const QString& name) {
        auto* button = window->findChild<QAbstractButton*>(name);
        if (name.endsWith("@T")) {
            QListView* list = view(name.section('@', 0, 0).toUtf8());
            clickAt(list, tickBoxAt(list, 1), Qt::LeftButton);
        } else if (name.contains('@')) {
            onRow(view(name.section('@', 0, 0).toUtf8()), 1,
                  name.endsWith('R') ? Qt::RightButton : Qt::LeftButton, {}, name.endsWith('D'));
        } else {
            button ? button->click() : window->findChild<QAction*>(name)->trigger();
        }
    }
};

}  // namespace scourix::test
