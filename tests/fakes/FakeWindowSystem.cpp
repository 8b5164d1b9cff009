#include "fakes/FakeWindowSystem.h"

#include <stdexcept>

namespace scourix {

void FakeWindowSystem::doEvents() {
    ++doEventsCalls;
    if (onDoEvents) {
        onDoEvents();
    }
}

void FakeWindowSystem::popupMenu(std::string_view menuName) {
    popupMenus.emplace_back(menuName);
    if (onPopupMenu) {
        onPopupMenu(popupMenus.back());
    }
}

std::unique_ptr<InfoWindow> FakeWindowSystem::loadInfoWindow() {
    auto record = std::make_shared<FakeInfoWindow::Record>();
    infoWindows.push_back(record);
    return std::make_unique<FakeInfoWindow>(record, onShowInfo);
}

void FakeWindowSystem::requestClose() {
    ++requestCloseCalls;
    if (onRequestClose) {
        onRequestClose();
    }
}

const FakeInfoWindow::Record& FakeWindowSystem::lastInfo() const {
    if (infoWindows.empty()) {
        throw std::logic_error("FakeWindowSystem: no information window was loaded");
    }
    return *infoWindows.back();
}

}  // namespace scourix
