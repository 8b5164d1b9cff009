#pragma once

#include <memory>
#include <string_view>

#include "platform/InfoWindow.h"

namespace scourix {

inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerHourglass = 11;

// The mouse buttons as the event procedures receive them.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// What the window system offers besides the controls: the event loop, the pointer,
// pop-up menus, the information window and the main window's own life.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Shows the main window (not modally).
    virtual void showMainWindow() = 0;
    // Lets the event loop process the pending events once.
    virtual void doEvents() = 0;
    virtual void setPointer(int pointer) = 0;
    // Opens a menu of the menu bar ("mList", "PopDrive", "PopType") at the pointer; the
    // chosen item runs its own handler before this returns.
    virtual void popupMenu(std::string_view menuName) = 0;
    // Loads a fresh information window in its design state.
    virtual std::unique_ptr<InfoWindow> loadInfoWindow() = 0;

    // Asks the main window to close, which runs Form_Unload.
    virtual void requestClose() = 0;
    // Ends the program at once, without the closing procedure.
    virtual void endNow() = 0;

    // The main window's state for the layout rules.
    virtual bool minimized() const = 0;
    // Client area below the menu bar, in twips.
    virtual int clientWidth() const = 0;
    virtual int clientHeight() const = 0;
};

}  // namespace scourix
