#include <tuple>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;

class ResultListTest : public FormFixture {
protected:
    ResultListTest() {
        fake.fs.addFile("/d/a b.tmp");
        fake.fs.addFile("/d/.hidden.tmp");
        fake.lstFound.setTexts({"/d/a b.tmp", "/d/gone.tmp", "/d/.hidden.tmp"});
    }
};

// The press alone runs the click procedure, which enables the item; the release shows the
// menu only for a current entry, without modifiers, outside a scan.
TEST_F(ResultListTest, RightClickShowsTheMenuOnlyForACurrentEntryWithoutModifiersOrScan) {
    // The current entry, button, modifiers, whether a scan runs; the menu, the item's
    // caption and whether it is enabled.
    using Case = std::tuple<std::ptrdiff_t, int, int, bool, bool, std::string, bool>;
    for (const auto& [current, button, shift, scanning, menu, caption, enabled] :
         std::vector<Case>{{-1, kRightButton, 0, false, false, "打开", false},  // before any click
                           {0, kRightButton, 0, false, true, "打开 a b.tmp", true},
                           {1, kRightButton, 0, false, true, "打开 ", true},             // gone
                           {2, kRightButton, 0, false, true, "打开 ", true},             // hidden
                           {0, kRightButton, 1, false, false, "打开 /d/a b.tmp", true},  // Shift
                           {0, kRightButton, 2, false, false, "打开 /d/a b.tmp", true},  // Ctrl
                           {0, kRightButton, 4, false, false, "打开 /d/a b.tmp", true},  // Alt
                           {0, kLeftButton, 0, false, false, "打开(&O)", false},
                           {0, kRightButton, 0, true, false, "打开 /d/a b.tmp", true}}) {
        SCOPED_TRACE(::testing::Message() << current << " " << button << " " << shift);
        fake.window.popupMenus.clear();
        fake.controls.setCaption("mOpen", "打开(&O)");
        fake.controls.setEnabled("mOpen", false);
        fake.lstFound.current = current;
        state.bStop = !scanning;
        form.lstFound_MouseDown(button, shift);
        form.lstFound_MouseUp(button, shift);
        EXPECT_EQ(fake.window.popupMenus, Texts(menu, "mList"));
        EXPECT_EQ(fake.controls.caption("mOpen"), caption);
        EXPECT_EQ(fake.controls.enabled("mOpen"), enabled);
    }
}

// Select all and clear all change the ticks only through a change of the box; one list
// operation per command, never one per entry.
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
    EXPECT_EQ(fake.lstFound.bulkCalls, 3);
}

// Clearing takes the entries only; open then asks for a file and properties do nothing.
// With a file, open speaks only when no application is associated.
TEST_F(ResultListTest, ClearingKeepsEverythingElseAndOpenSpeaksOnlyWhenItMust) {
    fake.lstFound.current = 0;
    form.lstFound_Click();
    for (OpenOutcome outcome : {OpenOutcome::Opened, OpenOutcome::Failed}) {
        fake.shell.outcome = outcome;
        form.mOpen_Click();
    }
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    fake.shell.outcome = OpenOutcome::NoAssociation;
    form.cmdOpen_Click();
    EXPECT_EQ(lastBox(), "你选择的文件可能在Windows中没有关联，所以无法打开文件。|16|错误");
    EXPECT_EQ(fake.shell.openedDocuments, Texts(3, "/d/a b.tmp"));
    form.mAttrib_Click();
    EXPECT_EQ(fake.shell.shownProperties, Texts{"/d/a b.tmp"});

    form.mSelAll_Click();
    form.mClear_Click();
    EXPECT_EQ(fake.lstFound.count(), 0u);
    EXPECT_EQ(fake.controls.caption("lblInfo"), "/d/a b.tmp");
    EXPECT_EQ(fake.controls.caption("mOpen"), "打开 /d/a b.tmp");
    EXPECT_EQ(fake.controls.toolTip("lstFound"), "/d/a b.tmp");
    EXPECT_EQ(fake.controls.value("chkSelAll"), 1);
    ASSERT_TRUE(fake.controls.enabled("cmdOpen"));
    form.cmdOpen_Click();
    form.cmdFileAttrib_Click();
    EXPECT_EQ(lastBox(), " 请先选取一个文件。|16|打开文件");
    EXPECT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_EQ(fake.shell.openedDocuments.size(), 3u);
    EXPECT_EQ(fake.shell.shownProperties.size(), 1u);
}

}  // namespace
}  // namespace scourix
