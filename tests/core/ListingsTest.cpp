#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

// Both listings put their own choice into the lists for one scan and give the user's back.
class ListingsTest : public FormFixture {
protected:
    ListingsTest() {
        for (const char* file :
             {"/data/a.bak", "/data/ a.bak", "/data/sub/ b.bak", "/tmp/noext", "/tmp/sub/x.txt"}) {
            fake.fs.addFile(file);
        }
        fake.lstDrive.setTexts({"/data", "/other", "临时文件夹"});
        fake.lstDrive.setChecked(0, true);
    }

    // Runs the command over an empty pattern list or one with a copy ticked unlike its twin,
    // pressing Stop in the first folder walked if asked; the patterns must come back. What
    // is found shows the lists the scan had.
    void run(void (MainForm::*command)(), bool empty, bool stop) {
        fake.lstPat.setTexts(empty ? Texts{} : Texts{"*.bak", "*.bak", "*.tmp"});
        if (!empty) {
            fake.lstPat.setChecked(1, true);
        }
        const Texts texts = fake.lstPat.texts();
        const Ticks ticks = fake.lstPat.checks();
        fake.dialogs.boxes.clear();
        fake.window.onDoEvents = [this, stop] {
            if (stop && !fake.controls.caption("lblInfo").empty() && !state.bStop) {
                form.cmdStopFind_Click();
            }
        };
        (form.*command)();
        EXPECT_EQ(fake.lstPat.texts(), texts);
        EXPECT_EQ(fake.lstPat.checks(), ticks);
    }
};

TEST_F(ListingsTest, SingleFileSearchUsesThePatternAsTypedAndRestoresThePatterns) {
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

    for (const bool stop : {false, true}) {
        for (const bool empty : {true, false}) {
            fake.dialogs.inputs = {" *.bak"};
            fake.dialogs.answers = {mb::kIdNo};
            run(&MainForm::cmdFindFile_Click, empty, stop);
            // The leading blank is part of the pattern: "a.bak" does not match. Stopped in
            // /data, the walk never enters /data/sub.
            EXPECT_EQ(fake.lstFound.texts(),
                      (stop ? Texts{"/data/ a.bak"} : Texts{"/data/ a.bak", "/data/sub/ b.bak"}));
        }
    }
    fake.lstDrive.setChecked(0, false);  // refused: the patterns come back all the same
    fake.dialogs.inputs = {" *.bak"};
    run(&MainForm::cmdFindFile_Click, false, false);
    EXPECT_EQ(lastBox(), "没有选定查找的位置。|16|查找");
}

TEST_F(ListingsTest, TempListingSearchesTheTemporaryFolderAloneAndRestoresTheLists) {
    state.bStop = false;  // walking
    form.cmdListTempFile_Click();
    state.bStop = true;  // stopped, the scan not yet unwound
    state.scanActive = true;
    form.mListtempfiles_Click();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, false, false}));
    EXPECT_EQ(fake.lstPat.count(), 43u);
    state.scanActive = false;

    for (const bool stop : {false, true}) {
        for (const bool empty : {true, false}) {
            fake.lstDrive.setChecked(2, false);
            fake.dialogs.answers = {mb::kIdOk, mb::kIdNo};
            run(&MainForm::cmdListTempFile_Click, empty, stop);
            const FakeDialogs::Box& info = fake.dialogs.boxes.at(0);
            EXPECT_EQ(info.text + "|" + std::to_string(info.flags) + "|" + info.title,
                      "单击确定在表中列出Windows临时文件夹中的所有文件。|64|列出临时文件");
            EXPECT_EQ(fake.lstFound.texts(),
                      (stop ? Texts{"/tmp/noext"} : Texts{"/tmp/noext", "/tmp/sub/x.txt"}));
            // The temporary folder stays ticked; the other locations are as before.
            EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, false, true}));
        }
    }
}

}  // namespace
}  // namespace scourix
