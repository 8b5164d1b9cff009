#pragma once

#include <span>
#include <string_view>

#include "platform/Controls.h"

namespace scourix {

// The main window as its form describes it: every control and menu with its caption,
// tool tip and design geometry. The Qt window builds itself from these tables; which
// commands are on is the business of start-up and SetEn alone (setEnOrder, disabledAfterStartUp).

enum class ControlKind { Button, CheckBox, CheckList, Label, Picture, Line };

struct ControlDesign {
    std::string_view name;
    ControlKind kind;
    std::string_view caption;
    std::string_view toolTip;
    Rect geometry;  // twips; a Line runs from (left, top) to (width, height)
    int value;      // check boxes: design value
    bool cream;     // drawn on the window's cream instead of the button colour
};

struct MenuItemDesign {
    std::string_view name;     // "" for an unnamed separator
    std::string_view caption;  // "-" for a separator
    bool isSeparator() const { return caption == "-"; }
};

struct MenuDesign {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuItemDesign> items;
};

inline constexpr std::string_view kWindowCaption = "Scourix 1.51";
inline constexpr int kDesignClientWidth = 10230;
inline constexpr int kDesignClientHeight = 7695;

std::span<const ControlDesign> controlDesigns();
std::span<const MenuDesign> menuDesigns();
const ControlDesign* findControl(std::string_view name);

// The 26 controls and menus that SetEn switches, in the order it switches them.
std::span<const std::string_view> setEnOrder();
// The commands start-up disables after switching everything on, in that order.
std::span<const std::string_view> disabledAfterStartUp();

// The information window's design.
inline constexpr std::string_view kInfoWindowCaption = "信息窗口";
inline constexpr int kInfoClientWidth = 7755;
inline constexpr int kInfoClientHeight = 5535;
inline constexpr Rect kInfoHeadingRect{120, 120, 1140, 285};
inline constexpr Rect kInfoTextRect{120, 480, 7575, 2535};
inline constexpr Rect kInfoCloseRect{6360, 3120, 1215, 375};
inline constexpr Rect kInfoImageRect{240, 3120, 1095, 735};
inline constexpr std::string_view kInfoDesignHeading = "信息查看";
inline constexpr std::string_view kInfoCloseCaption = "关闭";

}  // namespace scourix
