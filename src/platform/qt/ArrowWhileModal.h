#pragma once

#include <QApplication>
#include <QCursor>

namespace scourix {

// A window that waits for the user shows the arrow even while the hourglass is up for
// the main window; the hourglass comes back when the window is gone.
class ArrowWhileModal {
public:
    ArrowWhileModal() : overridden_(QApplication::overrideCursor() != nullptr) {
        if (overridden_) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
    }
    ~ArrowWhileModal() {
        if (overridden_) {
            QApplication::restoreOverrideCursor();
        }
    }
    ArrowWhileModal(const ArrowWhileModal&) = delete;
    ArrowWhileModal& operator=(const ArrowWhileModal&) = delete;

private:
    bool overridden_;
};

}  // namespace scourix
