#pragma once

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

namespace scourix::test {

// A fresh folder under the temporary folder, removed with its contents at the end.
class TempDir {
public:
    TempDir() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/gui_tests.XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~TempDir() {
        ::nftw(
            path_.c_str(),
            [](const char* p, const struct stat* st, int, struct FTW*) {
                return S_ISDIR(st->st_mode) ? ::rmdir(p) : ::unlink(p);
            },
            16, FTW_DEPTH | FTW_PHYS);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Runs act on the next modal dialog or pop-up menu as soon as it is up, from inside its
// own event loop; the code under test blocks in that loop meanwhile.
inline void whenUp(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        QWidget* w = QApplication::activePopupWidget();
        if (!w) {
            w = QApplication::activeModalWidget();
        }
        if (w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        }
    });
    timer->start();
}

// A key typed into the widget that has the focus in w's window (or w itself); an
// unhandled key travels up to the window as it would from the keyboard.
inline void typeKey(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = {}) {
    QWidget* target = w->window()->focusWidget() ? w->window()->focusWidget() : w;
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &release);
}

inline void sendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, mods);
    QApplication::sendEvent(w, &e);
}

inline void clickMouse(QWidget* w, QPoint at, Qt::MouseButton button,
                       Qt::KeyboardModifiers mods = Qt::NoModifier) {
    sendMouse(w, QEvent::MouseButtonPress, at, button, mods);
    sendMouse(w, QEvent::MouseButtonRelease, at, button, mods);
}

}  // namespace scourix::test
