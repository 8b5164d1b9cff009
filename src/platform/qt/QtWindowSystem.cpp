#include "platform/qt/QtWindowSystem.h"

#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMenu>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/Twips.h"

namespace scourix {

QtWindowSystem::QtWindowSystem(QMainWindow& window, InfoWindowFactory infoWindows,
                               std::function<void()> endNow)
    : window_(window), infoWindows_(std::move(infoWindows)), endNow_(std::move(endNow)) {}

QtWindowSystem::~QtWindowSystem() {
    setPointer(kPointerDefault);
}

void QtWindowSystem::showMainWindow() {
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void QtWindowSystem::doEvents() {
    QCoreApplication::processEvents();
}

void QtWindowSystem::setPointer(int pointer) {
    // One override at most, however often the hourglass is asked for.
    const bool wantHourglass = pointer == kPointerHourglass;
    if (wantHourglass == hourglass_) {
        return;
    }
    if (wantHourglass) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
    hourglass_ = wantHourglass;
}

void QtWindowSystem::popupMenu(std::string_view menuName) {
    auto* menu = window_.findChild<QMenu*>(QString::fromUtf8(menuName.data(), menuName.size()));
    if (menu) {
        // The chosen item's handler runs inside exec, through its triggered signal.
        menu->exec(QCursor::pos());
    }
}

std::unique_ptr<InfoWindow> QtWindowSystem::loadInfoWindow() {
    return infoWindows_ ? infoWindows_() : nullptr;
}

void QtWindowSystem::requestClose() {
    window_.close();
}

void QtWindowSystem::endNow() {
    if (endNow_) {
        endNow_();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

bool QtWindowSystem::minimized() const {
    return window_.isMinimized();
}

int QtWindowSystem::clientWidth() const {
    const QWidget* client = window_.centralWidget();
    return Twips::fromPixels(client ? client->width() : window_.width(), Twips::dpiX(&window_));
}

int QtWindowSystem::clientHeight() const {
    const QWidget* client = window_.centralWidget();
    return Twips::fromPixels(client ? client->height() : window_.height(), Twips::dpiY(&window_));
}

}  // namespace scourix
