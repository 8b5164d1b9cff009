#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

// Both listings put their own choice into the lists for one scan and give the user's back;
// what is found shows the lists the scan had.
class ListingsTest : public FormFixture {
protected:
    ListingsTest() {
        for (const char* file :
             {"/data/a.bak", "/data/ a.bak", "/data/sub/ b.bak", "/tmp/noext", "/tmp/sub/x.txt"}) {
            fake.fs.addFile(file);
        }
        fake.lstDrive.setTexts({"/data", "/other", "临时文件夹"});
        fake.lstDrive.setChecked(0, true);
        // A copy ticked unlike its twin: the list comes back in its order, ticks and all.
        fake.lstPat.setTexts({"*.bak", "*.bak", "*.tmp"});
        fake.lstPat.setChecked(1, true);
    }
    void expectPatternsBack() const {
        EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.bak", "*.bak", "*.tmp"}));
        EXPECT_EQ(fake.lstPat.checks(), (Ticks{false, true, false}));
    }
};

TEST_F(ListingsTest, SingleFileSearchScansForThePatternAsTypedAloneAndGivesTheListBack) {
    fake.dialogs.inputs = {""};
    for (int i = 0; i < 2; ++i) {  // an empty answer, then Cancel: only the ticks are cleared
        fake.controls.setValue("chkSelAll", 1);
        form.mFindFile_Click();
        EXPECT_EQ(fake.controls.value("chkSelAll"), 0);
    }
    const FakeDialogs::Input& in = fake.dialogs.inputBoxes.back();
    EXPECT_EQ(in.prompt + "|" + in.title + "|" + in.defaultText,
              "请输入要查找的文件名|查找文件|*.bak");
    EXPECT_EQ(fake.fs.callCount(FsOp::OpenFolder), 0);

    fake.dialogs.inputs = {" *.bak", " *.bak"};
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFindFile_Click();
    // The leading blank belongs to the pattern: "a.bak" does not match.
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/ a.bak", "/data/sub/ b.bak"}));
    expectPatternsBack();
    fake.lstDrive.setChecked(0, false);  // refused: the list comes back all the same
    form.cmdFindFile_Click();
    EXPECT_EQ(lastBox(), "没有选定查找的位置。|16|查找");
    expectPatternsBack();
}

TEST_F(ListingsTest, TempListingSearchesTheTemporaryFolderAloneForEveryFileAndGivesTheListsBack) {
    state.bStop = false;  // walking
    form.cmdListTempFile_Click();
    state.bStop = true;  // stopped, the scan not yet unwound
    state.scanActive = true;
    form.mListtempfiles_Click();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, false, false}));
    state.scanActive = false;

    Texts scanned;
    fake.window.onDoEvents = [&] { scanned = fake.lstPat.texts(); };
    fake.dialogs.answers = {mb::kIdOk, mb::kIdNo};
    form.cmdListTempFile_Click();
    EXPECT_EQ(scanned, Texts{"*.*"});
    const FakeDialogs::Box& info = fake.dialogs.boxes.at(0);
    EXPECT_EQ(info.text + "|" + std::to_string(info.flags) + "|" + info.title,
              "单击确定在表中列出Windows临时文件夹中的所有文件。|64|列出临时文件");
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/tmp/noext", "/tmp/sub/x.txt"}));
    // The temporary folder stays ticked; the other locations are as before.
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, false, true}));
    expectPatternsBack();
    fake.lstPat.setTexts({});  // an empty list comes back empty
    fake.dialogs.answers = {mb::kIdOk, mb::kIdNo};
    form.cmdListTempFile_Click();
    EXPECT_EQ(fake.lstPat.count(), 0u);
}

}  // namespace
}  // namespace scourix
