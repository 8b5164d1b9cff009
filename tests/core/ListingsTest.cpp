#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;
enum class Ending { Full, Stopped, NoLocation };

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

    std::pair<Texts, Ticks> patterns() const { return {fake.lstPat.texts(), fake.lstPat.checks()}; }

    // Sets the patterns (an empty list, or one with a copy ticked unlike its twin) and returns
    // them; records the lists in the first folder walked and presses Stop there if asked.
    std::pair<Texts, Ticks> prepare(bool empty, Ending run) {
        fake.lstPat.setTexts(empty ? Texts{} : Texts{"*.bak", "*.bak", "*.tmp"});
        if (!empty) {
            fake.lstPat.setChecked(1, true);
        }
        seenPat.clear();
        fake.dialogs.boxes.clear();
        fake.window.onDoEvents = [this, run] {
            if (!fake.controls.caption("lblInfo").empty() && !state.bStop) {
                seenPat = fake.lstPat.texts();
                seenDriveTicks = fake.lstDrive.checks();
                if (run == Ending::Stopped) {
                    form.cmdStopFind_Click();
                }
            }
        };
        return patterns();
    }
    Texts seenPat;
    Ticks seenDriveTicks;
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

    for (const Ending run : {Ending::Full, Ending::Stopped, Ending::NoLocation}) {
        for (const bool empty : {true, false}) {
            const auto before = prepare(empty, run);
            fake.lstDrive.setChecked(0, run != Ending::NoLocation);
            fake.dialogs.inputs = {" *.bak"};
            fake.dialogs.answers = {mb::kIdNo};
            form.cmdFindFile_Click();
            EXPECT_EQ(patterns(), before);
            if (run == Ending::NoLocation) {
                EXPECT_EQ(fake.dialogs.boxes.back().text, "没有选定查找的位置。");
                continue;
            }
            EXPECT_EQ(seenPat, (Texts{" *.bak"}));
            // The leading blank is part of the pattern: "a.bak" does not match. Stopped in
            // /data, the walk never enters /data/sub.
            EXPECT_EQ(fake.lstFound.texts(),
                      (run == Ending::Stopped ? Texts{"/data/ a.bak"}
                                              : Texts{"/data/ a.bak", "/data/sub/ b.bak"}));
        }
    }
}

TEST_F(ListingsTest, TempListingSearchesTheTemporaryFolderAloneAndRestoresTheLists) {
    for (const Ending run : {Ending::Full, Ending::Stopped}) {
        for (const bool empty : {true, false}) {
            const auto before = prepare(empty, run);
            fake.lstDrive.setChecked(2, false);
            fake.dialogs.answers = {mb::kIdOk, mb::kIdNo};
            form.cmdListTempFile_Click();
            const FakeDialogs::Box& info = fake.dialogs.boxes.at(0);
            EXPECT_EQ(info.text + "|" + info.title,
                      "单击确定在表中列出Windows临时文件夹中的所有文件。|列出临时文件");
            EXPECT_EQ(info.flags, 64);
            EXPECT_EQ(seenPat, (Texts{"*.*"}));
            EXPECT_EQ(seenDriveTicks, (Ticks{false, false, true}));
            EXPECT_EQ(fake.lstFound.texts(),
                      (run == Ending::Stopped ? Texts{"/tmp/noext"}
                                              : Texts{"/tmp/noext", "/tmp/sub/x.txt"}));
            // The temporary folder stays ticked; the other locations are as before.
            EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, false, true}));
            EXPECT_EQ(patterns(), before);
        }
    }
}

TEST_F(ListingsTest, TempListingDoesNothingWhileAScanRuns) {
    state.bStop = false;  // walking
    form.cmdListTempFile_Click();
    state.bStop = true;  // stopped, the scan not yet unwound
    state.scanActive = true;
    form.mListtempfiles_Click();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, false, false}));
    EXPECT_EQ(fake.lstPat.count(), 43u);
}

}  // namespace
}  // namespace scourix
