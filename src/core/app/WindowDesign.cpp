#include "app/WindowDesign.h"

#include <algorithm>
#include <array>

namespace scourix {
namespace {

using K = ControlKind;

// clang-format off

// name, kind, caption, tool tip, geometry, value, cream
constexpr std::array kControls{
    ControlDesign{"cmdFind", K::Button, "扫描垃圾文件", "开始扫描垃圾文件", {2160, 1440, 1575, 375}, 0, true},
    ControlDesign{"cmdStopFind", K::Button, "停止", "立即停止扫描", {3840, 1440, 1575, 375}, 0, true},
    ControlDesign{"cmdListTempFile", K::Button, "列出临时文件", "", {3840, 960, 1575, 375}, 0, false},
    ControlDesign{"cmdFindFile", K::Button, "查找文件", "查找指定的文件(可使用*.?通配符)", {2160, 960, 1575, 375}, 0, true},
    ControlDesign{"cmdDeltmp", K::Button, "暂时删除", "将文件重命名为*.del的文件,以后再删除它.", {6000, 960, 1215, 375}, 0, false},
    ControlDesign{"cmdKill", K::Button, "永久删除", "永久的删除文件,并且不可恢复!!", {6000, 1440, 1215, 375}, 0, true},
    ControlDesign{"cmdOpen", K::Button, "打开", "打开选中的单个文件", {7320, 960, 1215, 375}, 0, true},
    ControlDesign{"cmdFileAttrib", K::Button, "文件属性", "显示选中的单个文件的属性", {7320, 1440, 1215, 375}, 0, true},
    ControlDesign{"cmdAddPath", K::Button, "添加位置", "", {120, 2880, 1215, 375}, 0, false},
    ControlDesign{"cmdAdd", K::Button, "添加", "", {120, 6120, 735, 375}, 0, false},
    ControlDesign{"cmdRemove", K::Button, "删除", "", {960, 6120, 735, 375}, 0, false},
    ControlDesign{"cmdClose", K::Button, "关闭", "退出程序", {8760, 960, 975, 855}, 0, true},
    // Both scan switches start ticked: a default scan leaves hidden and system files out.
    ControlDesign{"chkSystemFile", K::CheckBox, "不查找系统文件", "", {120, 6960, 1815, 255}, 1, true},
    ControlDesign{"chkHideFile", K::CheckBox, "不查找隐藏文件", "", {120, 6600, 1815, 255}, 1, true},
    ControlDesign{"chkSelAll", K::CheckBox, "选中所有项", "", {2160, 1920, 1815, 255}, 0, true},
    ControlDesign{"lstDrive", K::CheckList, "", "", {120, 1200, 1815, 1605}, 0, false},
    ControlDesign{"lstPat", K::CheckList, "", "", {120, 3600, 1815, 2280}, 0, false},
    ControlDesign{"lstFound", K::CheckList, "", "", {2160, 2160, 7815, 4560}, 0, false},
    ControlDesign{"Label1", K::Label, "位置 ", "", {120, 960, 495, 195}, 0, true},
    ControlDesign{"Label2", K::Label, "类型", "", {120, 3360, 390, 195}, 0, true},
    ControlDesign{"Label3", K::Label, "", "", {120, 840, 9615, 60}, 0, false},
    ControlDesign{"Label4", K::Label, "", "", {1680, 240, 0, 0}, 0, true},
    ControlDesign{"lblInfo", K::Label, "欢迎使用 Scourix 1.51：查找并清除垃圾文件", "", {0, 7320, 10095, 255}, 0, true},
    ControlDesign{"Image1", K::Picture, "", "", {240, 0, 480, 480}, 0, true},
    ControlDesign{"Picture1", K::Picture, "", "", {9960, 0, 375, 615}, 0, true},
    ControlDesign{"Line1", K::Line, "", "", {1560, 720, 8040, 720}, 0, true},
};

constexpr std::array kListMenu{
    MenuItemDesign{"mOpen", "打开(&O)"},
    MenuItemDesign{"mbr03", "-"},
    MenuItemDesign{"mSaveList", "保存列表(&S)..."},
    MenuItemDesign{"mClear", "清除列表(&L)..."},
    MenuItemDesign{"mbr05", "-"},
    MenuItemDesign{"mSelAll", "全选"},
    MenuItemDesign{"mSelAllUn", "全不选"},
    MenuItemDesign{"mLChSel", "反转选择"},
    MenuItemDesign{"mb06", "-"},
    MenuItemDesign{"mRename", "重命名(&R)..."},
    MenuItemDesign{"mAttrib", "文件属性(&P)..."},
    MenuItemDesign{"mbr07", "-"},
    MenuItemDesign{"mClose", "关闭(&C)"},
};

constexpr std::array kFileMenu{
    MenuItemDesign{"mFind", "查找(&F)"},
    MenuItemDesign{"mFindFile", "查找单个文件(&S)..."},
    MenuItemDesign{"mStopFind", "停止查找(&T)"},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mListtempfiles", "列出临时文件"},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mKill", "永久性删除所有选中的文件(&E)..."},
};

constexpr std::array kDriveMenu{
    MenuItemDesign{"mAddPath", "添加查找的位置..."},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mDSelAll", "全选(&S)"},
    MenuItemDesign{"mDUSelAll", "全不选(&U)"},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mDChSell", "反转选择"},
};

constexpr std::array kTypeMenu{
    MenuItemDesign{"mAddType", "添加类型..."},
    MenuItemDesign{"mDelType", "删除类型"},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mResetType", "恢复初始类型..."},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mTSelAll", "全选(&S)"},
    MenuItemDesign{"mTUSelAll", "全不选(&U)"},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mTChSel", "反转选择"},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mReportType", "类型的详细说明..."},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mAddLinuxTypes", "添加 Linux 常见类型"},
};

constexpr std::array kHelpMenu{
    MenuItemDesign{"mHomePage", "Scourix 主页(&W)..."},
    MenuItemDesign{"", "-"},
    MenuItemDesign{"mAbout", "关于(&A)..."},
};

const std::array kMenus{
    MenuDesign{"mList", "列表(&L)", kListMenu},
    MenuDesign{"mFile", "操作(&F)", kFileMenu},
    MenuDesign{"PopDrive", "位置(&P)", kDriveMenu},
    MenuDesign{"PopType", "类型(&T)", kTypeMenu},
    MenuDesign{"mHelp", "帮助(&H)", kHelpMenu},
};

constexpr std::array<std::string_view, 26> kSetEn{
    "cmdAdd",     "cmdFind",       "mFind",    "cmdDeltmp",     "cmdFindFile", "mFindFile",
    "cmdKill",    "mKill",         "cmdRemove", "cmdStopFind",  "mStopFind",   "lstDrive",
    "lstPat",     "chkHideFile",   "chkSelAll", "chkSystemFile", "cmdAddPath", "Label1",
    "Label2",     "cmdFileAttrib", "mAttrib",  "cmdClose",      "mClose",      "PopDrive",
    "PopType",    "mList",
};

constexpr std::array<std::string_view, 9> kDisabledAfterStartUp{
    "cmdStopFind", "cmdDeltmp", "mStopFind", "cmdOpen", "mOpen",
    "cmdFileAttrib", "mAttrib", "cmdKill", "mKill",
};

// clang-format on

}  // namespace

std::span<const ControlDesign> controlDesigns() {
    return kControls;
}
std::span<const MenuDesign> menuDesigns() {
    return kMenus;
}

const ControlDesign* findControl(std::string_view name) {
    auto it = std::find_if(kControls.begin(), kControls.end(),
                           [&](const ControlDesign& c) { return c.name == name; });
    return it == kControls.end() ? nullptr : &*it;
}

std::span<const std::string_view> setEnOrder() {
    return kSetEn;
}
std::span<const std::string_view> disabledAfterStartUp() {
    return kDisabledAfterStartUp;
}

}  // namespace scourix
