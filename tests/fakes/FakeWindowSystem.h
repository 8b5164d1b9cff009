#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeInfoWindow.h"
#include "platform/WindowSystem.h"

namespace scourix {

// Records what the procedures ask of the window system. Hooks let a test act at the
// moments where the real event loop would run other handlers.
class FakeWindowSystem : public WindowSystem {
public:
    int showMainWindowCalls = 0;
    int doEventsCalls = 0;
    std::vector<int> pointers;
    std::vector<std::string> popupMenus;
    int endNowCalls = 0;
    std::vector<std::shared_ptr<FakeInfoWindow::Record>> infoWindows;

    // Runs on every doEvents, as a click handled in the middle of a scan would.
    std::function<void()> onDoEvents;
    // Runs while an information window is shown modally.
    std::function<void(const FakeInfoWindow::Record&)> onShowInfo;

    bool isMinimized = false;
    int width = 10230;
    int height = 7695;

    void showMainWindow() override { ++showMainWindowCalls; }
    void doEvents() override {
        ++doEventsCalls;
        if (onDoEvents) {
            onDoEvents();
        }
    }
    void setPointer(int pointer) override { pointers.push_back(pointer); }
    void popupMenu(std::string_view menuName) override { popupMenus.emplace_back(menuName); }
    std::unique_ptr<InfoWindow> loadInfoWindow() override {
        infoWindows.push_back(std::make_shared<FakeInfoWindow::Record>());
        return std::make_unique<FakeInfoWindow>(infoWindows.back(), onShowInfo);
    }
    void requestClose() override {}
    void endNow() override { ++endNowCalls; }

    bool minimized() const override { return isMinimized; }
    int clientWidth() const override { return width; }
    int clientHeight() const override { return height; }

    // The pointer now: the last one set, the default before any.
    int pointer() const { return pointers.empty() ? kPointerDefault : pointers.back(); }
    const FakeInfoWindow::Record& lastInfo() const {
        return *infoWindows.at(infoWindows.size() - 1);
    }
};

}  // namespace scourix
