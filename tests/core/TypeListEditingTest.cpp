#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

using TypeListEditingTest = FormFixture;

TEST_F(TypeListEditingTest, AddInsertsTheAnswerAsTypedAtItsSortedPlaceUnticked) {
    fake.lstPat.setTexts({"*.bak", "*.tmp", "~*.*"});
    fake.lstPat.setChecked(1, true);
    // A copy goes beside its twin, a blank before the punctuation; "" and Cancel add nothing.
    fake.dialogs.inputs = {"*.tmp", " ", ""};
    for (int i = 0; i < 4; ++i) {
        form.mAddType_Click();
    }
    EXPECT_EQ(fake.lstPat.texts(), (Texts{" ", "*.bak", "*.tmp", "*.tmp", "~*.*"}));
    EXPECT_EQ(fake.lstPat.checks(), (Ticks{false, false, true, false, false}));
    ASSERT_EQ(fake.dialogs.inputBoxes.size(), 4u);
    const FakeDialogs::Input& in = fake.dialogs.inputBoxes[0];
    EXPECT_EQ(in.prompt + "|" + in.title + "|" + in.defaultText, "请输入类型||");
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

using Box = std::tuple<std::string, int, std::string>;

TEST_F(TypeListEditingTest, RestoreDeletesTheFileAndEndsAtOnceOnlyWhenItCan) {
    const std::string path = typeListPath();
    fake.fs.addFile(path, "1*.tmp\r\n");
    fake.fs.failOn(FsOp::Remove, path, FaultyFileSystem::permissionDenied(), 1);
    fake.dialogs.answers = {mb::kIdNo, mb::kIdYes, mb::kIdOk, mb::kIdYes, mb::kIdOk, mb::kIdYes};
    form.mResetType_Click();  // No
    form.mResetType_Click();  // Yes, but the file cannot be deleted: the program goes on
    EXPECT_TRUE(fake.fs.exists(path));
    EXPECT_EQ(fake.window.endNowCalls, 0);
    form.mResetType_Click();
    EXPECT_FALSE(fake.fs.exists(path));
    EXPECT_EQ(fake.window.endNowCalls, 1);
    form.mResetType_Click();  // no file left: nothing to delete, the end all the same
    EXPECT_EQ(fake.window.endNowCalls, 2);
    EXPECT_EQ(fake.fs.callCount(FsOp::Remove), 2);

    const Box ask{"你真的要恢复所有类型到初始状态吗？此举将重新启动程序。", 52, "恢复列表"};
    const Box restart{"请重新启动程序。", 64, "Scourix 1.51"};
    const Box denied{FaultyFileSystem::permissionDenied().description, 16, "恢复列表"};
    std::vector<Box> shown;
    for (const FakeDialogs::Box& b : fake.dialogs.boxes) {
        shown.emplace_back(b.text, b.flags, b.title);
    }
    EXPECT_EQ(shown, (std::vector<Box>{ask, ask, denied, ask, restart, ask, restart}));
}

}  // namespace
}  // namespace scourix
