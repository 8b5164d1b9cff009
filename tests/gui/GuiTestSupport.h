#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "posix/TempFolder.h"

namespace scourix::test {

using TempDir = TempFolder;

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
