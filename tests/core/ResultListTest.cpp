#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

class ResultListTest : public FormFixture {
protected:
    ResultListTest() {
        fake.fs.addFile("/d/a b.tmp");
        fake.fs.addFile("/d/.hidden.tmp");
        fake.lstFound.setTexts({"/d/a b.tmp", "/d/gone.tmp", "/d/.hidden.tmp"});
    }
    // A right click as the list raises it: press, then release.
    void rightClick(int shift = 0, int button = kRightButton) {
        form.lstFound_MouseDown(button, shift);
        form.lstFound_MouseUp(button, shift);
    }
    std::string caption(const char* name) { return fake.controls.caption(name); }
};

TEST_F(ResultListTest, RightClickShowsTheMenuOnlyForACurrentEntryWithoutModifiersOrScan) {
    struct Case {
        const char* what;
        std::ptrdiff_t current;
        int button, shift;
        bool scanning;
        bool menu;
        std::string openCaption;
        bool openEnabled;
    };
    const std::vector<Case> cases{
        {"before any click", -1, kRightButton, 0, false, false, "打开", false},
        {"existing file, blank in its name", 0, kRightButton, 0, false, true, "打开 a b.tmp", true},
        {"vanished file", 1, kRightButton, 0, false, true, "打开 ", true},
        {"hidden file", 2, kRightButton, 0, false, true, "打开 ", true},
        // The press alone runs the click procedure, which enables the item.
        {"Shift", 0, kRightButton, 1, false, false, "打开 /d/a b.tmp", true},
        {"Ctrl", 0, kRightButton, 2, false, false, "打开 /d/a b.tmp", true},
        {"Alt", 0, kRightButton, 4, false, false, "打开 /d/a b.tmp", true},
        {"left button", 0, kLeftButton, 0, false, false, "打开(&O)", false},
        {"during a scan", 0, kRightButton, 0, true, false, "打开 /d/a b.tmp", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake.window.popupMenus.clear();
        fake.controls.setCaption("mOpen", "打开(&O)");
        fake.controls.setEnabled("mOpen", false);
        fake.lstFound.current = c.current;
        state.bStop = !c.scanning;
        rightClick(c.shift, c.button);
        EXPECT_EQ(fake.window.popupMenus,
                  c.menu ? std::vector<std::string>{"mList"} : std::vector<std::string>{});
        EXPECT_EQ(caption("mOpen"), c.openCaption);
        EXPECT_EQ(fake.controls.enabled("mOpen"), c.openEnabled);
    }
}

TEST_F(ResultListTest, TickCommandsChangeTicksOnlyThroughAChangeOfTheBox) {
    using Ticks = std::vector<bool>;
    fake.controls.setValue("chkSelAll", 1);
    fake.lstFound.setChecked(1, true);  // ticked by hand, the box already on
    form.mSelAll_Click();
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{false, true, false}));
    form.mLChSel_Click();
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{true, false, true}));
    EXPECT_EQ(fake.controls.value("chkSelAll"), 1) << "inverting leaves the box alone";
    form.mSelAllUn_Click();
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{false, false, false}));
    form.mSelAllUn_Click();
    form.mSelAll_Click();
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{true, true, true}));
    // One list operation per command, never one per entry.
    EXPECT_EQ(fake.lstFound.bulkCalls, 3);
}

TEST_F(ResultListTest, ClearingKeepsEverythingElseAndOpenThenAsksForAFile) {
    fake.lstFound.current = 0;
    form.lstFound_Click();
    form.mSelAll_Click();
    form.mClear_Click();
    EXPECT_EQ(fake.lstFound.count(), 0u);
    EXPECT_EQ(caption("lblInfo"), "/d/a b.tmp");
    EXPECT_EQ(caption("mOpen"), "打开 /d/a b.tmp");
    EXPECT_EQ(fake.controls.toolTip("lstFound"), "/d/a b.tmp");
    EXPECT_EQ(fake.controls.value("chkSelAll"), 1);
    ASSERT_TRUE(fake.controls.enabled("cmdOpen"));
    form.cmdOpen_Click();
    form.cmdFileAttrib_Click();
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].text, " 请先选取一个文件。");
    EXPECT_EQ(fake.dialogs.boxes[0].title, "打开文件");
    EXPECT_EQ(fake.dialogs.boxes[0].flags, 16);
    EXPECT_TRUE(fake.shell.openedDocuments.empty());
    EXPECT_TRUE(fake.shell.shownProperties.empty());
}

TEST_F(ResultListTest, OpenSpeaksOnlyWhenNoApplicationIsAssociated) {
    fake.lstFound.current = 0;
    for (OpenOutcome outcome : {OpenOutcome::Opened, OpenOutcome::Failed}) {
        fake.shell.outcome = outcome;
        form.mOpen_Click();
    }
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    fake.shell.outcome = OpenOutcome::NoAssociation;
    form.cmdOpen_Click();
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].text,
              "你选择的文件可能在Windows中没有关联，所以无法打开文件。");
    EXPECT_EQ(fake.dialogs.boxes[0].title, "错误");
    EXPECT_EQ(fake.dialogs.boxes[0].flags, 16);
    EXPECT_EQ(fake.shell.openedDocuments, std::vector<std::string>(3, "/d/a b.tmp"));
    form.mAttrib_Click();
    EXPECT_EQ(fake.shell.shownProperties, std::vector<std::string>{"/d/a b.tmp"});
}

}  // namespace
}  // namespace scourix
