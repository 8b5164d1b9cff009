#include "platform/qt/QtControls.h"

#include "platform/VisibleText.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include "platform/qt/Twips.h"

namespace scourix {

namespace {

QString toQt(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string fromQt(const QString& s) {
    return s.toStdString();
}

// A menu of the menu bar is switched through the action that opens it.
QAction* menuActionOf(QObject* o) {
    if (auto* menu = qobject_cast<QMenu*>(o)) {
        return menu->menuAction();
    }
    return qobject_cast<QAction*>(o);
}

}  // namespace

QtControls::QtControls(QWidget& window, QWidget& clientArea)
    : window_(window), client_(clientArea) {
    statusTimer_.setSingleShot(true);
    QObject::connect(&statusTimer_, &QTimer::timeout, [this] {
        if (statusPending_ && statusLabel_) {
            statusLabel_->setText(toQt(visibleText(pendingStatus_)));
            sinceStatusShown_.start();
        }
        statusPending_ = false;
    });
}

QObject* QtControls::find(std::string_view name) const {
    std::string key(name);
    auto it = cache_.find(key);
    if (it != cache_.end() && it->second) {
        return it->second;
    }
    QObject* found = window_.findChild<QObject*>(QString::fromUtf8(name.data(), name.size()));
    if (found) {
        cache_[key] = found;
    }
    return found;
}

bool QtControls::isWindow(std::string_view name) const {
    return window_.objectName() == QString::fromUtf8(name.data(), name.size());
}

void QtControls::setEnabled(std::string_view name, bool on) {
    if (isWindow(name)) {
        window_.setEnabled(on);
        return;
    }
    QObject* o = find(name);
    if (QAction* a = menuActionOf(o)) {
        a->setEnabled(on);
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        w->setEnabled(on);
    }
}

std::string QtControls::caption(std::string_view name) const {
    if (isWindow(name)) {
        return fromQt(window_.windowTitle());
    }
    QObject* o = find(name);
    if (auto* menu = qobject_cast<QMenu*>(o)) {
        return fromQt(menu->title());
    }
    if (auto* a = qobject_cast<QAction*>(o)) {
        return fromQt(a->text());
    }
    if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        return fromQt(b->text());
    }
    if (auto* l = qobject_cast<QLabel*>(o)) {
        return statusPending_ && l == statusLabel_ ? visibleText(pendingStatus_)
                                                   : fromQt(l->text());
    }
    return {};
}

void QtControls::setCaption(std::string_view name, std::string text) {
    if (name == "lblInfo") {
        if (auto* l = qobject_cast<QLabel*>(find(name))) {
            l->setTextFormat(Qt::PlainText);
            setStatusLine(l, std::move(text));
        }
        return;
    }
    // A file name's line breaks must not split a menu item, nor its stray bytes change.
    const QString t = toQt(visibleText(text));
    if (isWindow(name)) {
        window_.setWindowTitle(t);
        return;
    }
    QObject* o = find(name);
    if (auto* menu = qobject_cast<QMenu*>(o)) {
        menu->setTitle(t);
    } else if (auto* a = qobject_cast<QAction*>(o)) {
        a->setText(t);
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        b->setText(t);
    } else if (auto* l = qobject_cast<QLabel*>(o)) {
        // Plain text: a file name that looks like markup is shown as it is.
        l->setTextFormat(Qt::PlainText);
        l->setText(t);
        if (l->property(kAutoSizeProperty).toBool()) {
            l->adjustSize();
        }
    }
}

void QtControls::setStatusLine(QLabel* label, std::string text) {
    constexpr qint64 kInterval = 33;  // milliseconds
    if (!sinceStatusShown_.isValid() || sinceStatusShown_.elapsed() >= kInterval) {
        statusTimer_.stop();
        statusPending_ = false;
        label->setText(toQt(visibleText(text)));
        sinceStatusShown_.start();
        return;
    }
    // Kept as it came: only the text that gets shown is converted.
    statusLabel_ = label;
    pendingStatus_ = std::move(text);
    statusPending_ = true;
    if (!statusTimer_.isActive()) {
        statusTimer_.start(static_cast<int>(kInterval - sinceStatusShown_.elapsed()));
    }
}

void QtControls::setToolTip(std::string_view name, std::string text) {
    QObject* o = find(name);
    const QString t = toQt(visibleText(text));
    if (auto* a = qobject_cast<QAction*>(o)) {
        a->setToolTip(t);
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        w->setToolTip(t);
    }
}

int QtControls::value(std::string_view name) const {
    auto* b = qobject_cast<QAbstractButton*>(find(name));
    return b && b->isCheckable() && b->isChecked() ? 1 : 0;
}

void QtControls::setValue(std::string_view name, int value) {
    auto* b = qobject_cast<QAbstractButton*>(find(name));
    if (b && b->isCheckable()) {
        b->setChecked(value != 0);
    }
}

void QtControls::setFocus(std::string_view name) {
    if (auto* w = qobject_cast<QWidget*>(find(name))) {
        w->setFocus(Qt::OtherFocusReason);
    }
}

Rect QtControls::geometry(std::string_view name) const {
    const double dx = Twips::dpiX(&window_);
    const double dy = Twips::dpiY(&window_);
    if (isWindow(name)) {
        return {0, 0, Twips::fromPixels(client_.width(), dx),
                Twips::fromPixels(client_.height(), dy)};
    }
    auto* w = qobject_cast<QWidget*>(find(name));
    if (!w) {
        return {};
    }
    const QRect g = w->geometry();
    return {Twips::fromPixels(g.x(), dx), Twips::fromPixels(g.y(), dy),
            Twips::fromPixels(g.width(), dx), Twips::fromPixels(g.height(), dy)};
}

void QtControls::setGeometry(std::string_view name, Rect r) {
    auto* w = qobject_cast<QWidget*>(find(name));
    // A negative size is refused: the control keeps what it had.
    if (!w || isWindow(name) || r.width < 0 || r.height < 0) {
        return;
    }
    const double dx = Twips::dpiX(&window_);
    const double dy = Twips::dpiY(&window_);
    w->setGeometry(Twips::toPixels(r.left, dx), Twips::toPixels(r.top, dy),
                   Twips::toPixels(r.width, dx), Twips::toPixels(r.height, dy));
}

}  // namespace scourix
