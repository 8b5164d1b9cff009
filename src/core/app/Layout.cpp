#include "app/Layout.h"

#include <string_view>

namespace scourix {
namespace {

// The gap in twips between stacked controls and at the right of the status line.
constexpr int kGap = 100;

class Placer {
public:
    explicit Placer(Controls& controls) : c_(controls) {}

    Rect get(std::string_view name) const { return c_.geometry(name); }

    void setTop(std::string_view name, int top) { set(name, &Rect::top, top); }
    void setLeft(std::string_view name, int left) { set(name, &Rect::left, left); }
    // A control refuses a negative size and keeps the one it has.
    void setWidth(std::string_view name, int width) {
        if (width >= 0) {
            set(name, &Rect::width, width);
        }
    }
    void setHeight(std::string_view name, int height) {
        if (height >= 0) {
            set(name, &Rect::height, height);
        }
    }

private:
    void set(std::string_view name, int Rect::*field, int value) {
        Rect r = c_.geometry(name);
        r.*field = value;
        c_.setGeometry(name, r);
    }

    Controls& c_;
};

}  // namespace

void Layout::Form_Resize() {
    WindowSystem& window = s_.ui.window;
    if (window.minimized()) {
        return;
    }
    const int w = window.clientWidth();
    const int h = window.clientHeight();
    Placer p(s_.ui.controls);

    // Each step reads what the steps before it have set.
    p.setTop("lblInfo", h - p.get("lblInfo").height);
    p.setHeight("lstFound", h - p.get("lblInfo").height - p.get("lstFound").top);
    p.setWidth("lblInfo", w - kGap);
    p.setWidth("lstFound", p.get("lblInfo").width - p.get("lstFound").left);
    p.setTop("chkSystemFile", p.get("lblInfo").top - p.get("chkSystemFile").height - kGap);
    p.setTop("chkHideFile", p.get("chkSystemFile").top - p.get("chkHideFile").height - kGap);
    p.setTop("cmdAdd", p.get("chkHideFile").top - p.get("cmdAdd").height - kGap);
    p.setTop("cmdRemove", p.get("cmdAdd").top);
    p.setHeight("lstPat", p.get("cmdAdd").top - p.get("lstPat").top - kGap);
    p.setLeft("Picture1", w - p.get("Picture1").width);
}

}  // namespace scourix
