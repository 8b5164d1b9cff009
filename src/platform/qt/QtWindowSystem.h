#pragma once

#include <functional>

#include "platform/WindowSystem.h"

class QMainWindow;

namespace scourix {

// The event loop, the pointer, pop-up menus, the information window and the main
// window's own life, on Qt.
class QtWindowSystem final : public WindowSystem {
public:
    using InfoWindowFactory = std::function<std::unique_ptr<InfoWindow>()>;

    // endNow: what ending the program at once does; empty for leaving the process with
    // status 0 there and then.
    QtWindowSystem(QMainWindow& window, InfoWindowFactory infoWindows,
                   std::function<void()> endNow = {});
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    void showMainWindow() override;
    void doEvents() override;
    void setPointer(int pointer) override;
    void popupMenu(std::string_view menuName) override;
    std::unique_ptr<InfoWindow> loadInfoWindow() override;

    void requestClose() override;
    void endNow() override;

    bool minimized() const override;
    int clientWidth() const override;
    int clientHeight() const override;

    bool hourglass() const { return hourglass_; }

private:
    QMainWindow& window_;
    InfoWindowFactory infoWindows_;
    std::function<void()> endNow_;
    bool hourglass_ = false;
};

}  // namespace scourix
