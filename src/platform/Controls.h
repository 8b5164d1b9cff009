#pragma once

#include <string>
#include <string_view>

namespace scourix {

// The main window's own name among the controls: its caption is the program's title.
inline constexpr std::string_view kWindowName = "frmMain";

// A position and size in twips (1/1440 inch) within the window's client area.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// The state of the window's controls and menus, addressed by object name ("cmdFind",
// "mList", "lblInfo", ...). The window itself is "frmMain". Setting a value from here
// runs no event handler; the procedures call the handlers they mean to run.
class Controls {
public:
    virtual ~Controls() = default;

    virtual void setEnabled(std::string_view name, bool on) = 0;

    virtual std::string caption(std::string_view name) const = 0;
    virtual void setCaption(std::string_view name, std::string text) = 0;

    virtual void setToolTip(std::string_view name, std::string text) = 0;

    // Check boxes: 0 unticked, 1 ticked.
    virtual int value(std::string_view name) const = 0;
    virtual void setValue(std::string_view name, int value) = 0;

    virtual void setFocus(std::string_view name) = 0;

    virtual Rect geometry(std::string_view name) const = 0;
    virtual void setGeometry(std::string_view name, Rect r) = 0;
};

}  // namespace scourix
