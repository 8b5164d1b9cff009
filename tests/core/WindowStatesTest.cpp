// What a user can reach in the window after start-up, during a scan and after it, stated
// here on its own rather than read from the window's design, so that a wrong entry there
// shows up as a difference.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "FormFixture.h"
#include "app/WindowDesign.h"

namespace scourix {
namespace {

using Names = std::set<std::string, std::less<>>;

// Every command of the window, by the menu it stands in ("" for the window itself).
// clang-format off
const std::map<std::string, Names, std::less<>> kCommands = {
    {"", {"cmdFind", "cmdStopFind", "cmdListTempFile", "cmdFindFile", "cmdDeltmp", "cmdKill",
          "cmdOpen", "cmdFileAttrib", "cmdAddPath", "cmdAdd", "cmdRemove", "cmdClose",
          "chkSystemFile", "chkHideFile", "chkSelAll", "lstDrive", "lstPat", "lstFound"}},
    {"mList", {"mOpen", "mSaveList", "mClear", "mSelAll", "mSelAllUn", "mLChSel", "mRename",
               "mAttrib", "mClose"}},
    {"mFile", {"mFind", "mFindFile", "mStopFind", "mListtempfiles", "mKill"}},
    {"PopDrive", {"mAddPath", "mDSelAll", "mDUSelAll", "mDChSell"}},
    {"PopType", {"mAddType", "mDelType", "mResetType", "mTSelAll", "mTUSelAll", "mTChSel",
                 "mReportType"}},
    {"mHelp", {"mHomePage", "mAbout"}},
};
// clang-format on

Names allCommands() {
    Names all;
    for (const auto& [menu, names] : kCommands) {
        all.insert(names.begin(), names.end());
    }
    return all;
}

Names without(Names names, const Names& off) {
    for (const std::string& name : off) {
        names.erase(name);
    }
    return names;
}

class WindowStatesTest : public FormFixture {
protected:
    // The commands a user can use: on themselves and, for a menu item, in a menu that opens.
    Names usable() const {
        Names on;
        for (const auto& [menu, names] : kCommands) {
            for (const std::string& name : names) {
                if (fake.controls.enabled(name) && (menu.empty() || fake.controls.enabled(menu))) {
                    on.insert(name);
                }
            }
        }
        return on;
    }
};

TEST_F(WindowStatesTest, StartUpScanAndAfterwards) {
    // The statement covers the whole design, and nothing more.
    Names designed;
    for (const ControlDesign& c : controlDesigns()) {
        if (c.kind == ControlKind::Button || c.kind == ControlKind::CheckBox ||
            c.kind == ControlKind::CheckList) {
            designed.insert(std::string(c.name));
        }
    }
    for (const MenuDesign& m : menuDesigns()) {
        for (const MenuItemDesign& item : m.items) {
            if (!item.isSeparator()) {
                designed.insert(std::string(item.name));
            }
        }
    }
    ASSERT_EQ(designed, allCommands());
    // These buttons and the check boxes stand on the window's cream; the other buttons keep
    // the button colour.
    const Names cream{"cmdFind",       "cmdStopFind", "cmdFindFile",   "cmdKill",     "cmdOpen",
                      "cmdFileAttrib", "cmdClose",    "chkSystemFile", "chkHideFile", "chkSelAll"};
    for (const ControlDesign& c : controlDesigns()) {
        if (c.kind == ControlKind::Button || c.kind == ControlKind::CheckBox) {
            EXPECT_EQ(c.cream, cream.count(c.name) == 1) << c.name;
        }
    }

    fake.fs.addFile("/data/a.tmp", "12345");
    fake.fs.volumeList = {"/data"};
    form.Form_Load();
    const Names resultCommands{"cmdDeltmp", "cmdKill", "mKill", "cmdFileAttrib", "mAttrib"};
    const Names stopCommands{"cmdStopFind", "mStopFind"};
    Names off = resultCommands;
    off.insert(stopCommands.begin(), stopCommands.end());
    off.insert({"cmdOpen", "mOpen"});
    EXPECT_EQ(usable(), without(allCommands(), off));
    // A default scan leaves hidden and system files out; nothing is ticked for deletion.
    EXPECT_EQ(fake.controls.value("chkSystemFile"), 1);
    EXPECT_EQ(fake.controls.value("chkHideFile"), 1);
    EXPECT_EQ(fake.controls.value("chkSelAll"), 0);

    Names duringScan;
    fake.window.onDoEvents = [&] { duringScan = usable(); };
    fake.lstPat.setTexts({"*.tmp"});
    fake.lstPat.setAllChecked(true);
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFind_Click();
    EXPECT_EQ(duringScan, (Names{"cmdStopFind", "mStopFind", "cmdListTempFile", "mListtempfiles",
                                 "lstFound", "mHomePage", "mAbout"}));
    EXPECT_EQ(fake.lstFound.texts(), std::vector<std::string>{"/data/a.tmp"});

    // After the first scan the result commands stay on; the stop commands are off again.
    EXPECT_EQ(usable(), without(allCommands(), {"cmdStopFind", "mStopFind", "cmdOpen", "mOpen"}));

    // The open command, once on, stays usable during a scan.
    form.lstFound_Click();
    form.cmdFind_Click();
    EXPECT_TRUE(duringScan.count("cmdOpen"));
}

}  // namespace
}  // namespace scourix
