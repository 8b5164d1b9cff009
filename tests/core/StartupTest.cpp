#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;

const Texts kNineDisabled = {
    "cmdStopFind",   "cmdDeltmp", "mStopFind", "cmdOpen", "mOpen",
    "cmdFileAttrib", "mAttrib",   "cmdKill",   "mKill",
};

const Texts kSetEn26 = {
    "cmdAdd",  "cmdFind",       "mFind",     "cmdDeltmp",     "cmdFindFile", "mFindFile",
    "cmdKill", "mKill",         "cmdRemove", "cmdStopFind",   "mStopFind",   "lstDrive",
    "lstPat",  "chkHideFile",   "chkSelAll", "chkSystemFile", "cmdAddPath",  "Label1",
    "Label2",  "cmdFileAttrib", "mAttrib",   "cmdClose",      "mClose",      "PopDrive",
    "PopType", "mList",
};

using StartupTest = FormFixture;

TEST_F(StartupTest, ShowsTheWindowWithTheTwentySixOffFillsTheListsAndLeavesTheNineOff) {
    fake.fs.volumeList = {"/"};
    fake.window.onDoEvents = [&] {
        // On screen with its commands off, before the lists are filled.
        EXPECT_EQ(fake.window.showMainWindowCalls, 1);
        EXPECT_EQ(fake.controls.enableLog.size(), kSetEn26.size());
        EXPECT_EQ(fake.lstDrive.count(), 0u);
        EXPECT_TRUE(fake.lstPat.checkedTexts().empty());
    };
    form.Form_Load();
    EXPECT_EQ(fake.window.doEventsCalls, 1);

    // SetEn(False) and SetEn(True) switch the 26 in their order, then the nine go off;
    // nothing else is switched.
    std::vector<std::pair<std::string, bool>> expected;
    for (bool on : {false, true}) {
        for (const std::string& name : kSetEn26) {
            expected.emplace_back(name, on);
        }
    }
    for (const std::string& name : kNineDisabled) {
        expected.emplace_back(name, false);
    }
    EXPECT_EQ(fake.controls.enableLog, expected);

    EXPECT_EQ(fake.lstDrive.texts(), (Texts{"/", "临时文件夹"}));
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    EXPECT_TRUE(state.startUpDone);
    EXPECT_TRUE(state.bStop);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(StartupTest, FailuresDuringStartUpAreSilentAndStartUpFinishes) {
    fake.fs.volumeList = {"/", "/media/dvd/"};
    fake.fs.failOn(FsOp::Probe, "/", FaultyFileSystem::permissionDenied());
    fake.fs.addFile(typeListPath(), "1*.tmp\r\n");
    fake.fs.failOn(FsOp::ReadLines, typeListPath(), FaultyFileSystem::permissionDenied());
    form.Form_Load();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_TRUE(state.startUpDone);
    EXPECT_EQ(fake.lstDrive.checks(), (std::vector<bool>{false, false, true}));
    // The list that could not be read: the built-in one instead, and the file is not
    // replaced by it at closing.
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(lastBox(), "Permission denied|16|Scourix 1.51");
    EXPECT_EQ(fake.fs.content(typeListPath()), "1*.tmp\r\n");
}

class ClosingTest : public FormFixture {
protected:
    void SetUp() override {
        form.Form_Load();
        fake.fs.calls.clear();
        state.sTempPath = "/tmp/";
        fake.fs.addFile("/tmp/错误信息", "x");
        fake.fs.addFile("/tmp/查找结果信息", "y");
        fake.fs.addFile(typeListPath(), "1*.tmp\r\n");
    }
};

TEST_F(ClosingTest, IsIgnoredBeforeStartUpHasFinished) {
    FakePlatform early;
    EXPECT_TRUE(MainForm(early.platform()).Form_Unload());
    EXPECT_TRUE(early.dialogs.boxes.empty());
    EXPECT_TRUE(early.fs.calls.empty());
}

TEST_F(ClosingTest, IsRefusedWhileAScanRunsAndAfterStopUntilTheScanHasEnded) {
    // Scanning; Stop pressed with the walk still unwinding; bStop false on its own.
    for (auto [active, stop] : {std::pair{true, false}, {true, true}, {false, false}}) {
        state.scanActive = active;
        state.bStop = stop;
        EXPECT_TRUE(form.Form_Unload());
        EXPECT_EQ(lastBox(), "现在正在查找文件，无法关闭程序。\r\n\r\n必须先停止查找。|16|错误");
    }
    EXPECT_EQ(fake.dialogs.boxes.size(), 3u);
    EXPECT_TRUE(fake.fs.calls.empty());
}

TEST_F(ClosingTest, SavesTheListAndRemovesOnlyTheReportsThisRunWroteWhileTheyAreThatFile) {
    fake.lstPat.setChecked(0, false);
    // Files of those names that this run did not write are not its to delete.
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_TRUE(fake.fs.content(typeListPath()).starts_with("0*.---\r\n1*.#Res\r\n"));
    EXPECT_TRUE(fake.fs.exists("/tmp/错误信息") && fake.fs.exists("/tmp/查找结果信息"));

    form.ViewInfo("/tmp/查找结果信息");
    state.sTempPath = "";
    form.ViewInfo("查找结果信息");  // a scan without the temporary folder: the current one
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_FALSE(fake.fs.exists("/tmp/查找结果信息") ||
                 fake.fs.exists(fake.fs.current + "/查找结果信息"));
    EXPECT_TRUE(fake.fs.exists("/tmp/错误信息"));

    // Replaced by another file since: left alone.
    form.ViewInfo("查找结果信息");
    ASSERT_TRUE(fake.fs.removeFile("查找结果信息"));
    fake.fs.addFile("查找结果信息", "someone else's");
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(fake.fs.content("查找结果信息"), "someone else's");
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(ClosingTest, AFailureIsShownAndTheWindowClosesWithoutTheRemainingSteps) {
    form.ViewInfo("/tmp/查找结果信息");
    fake.fs.failOn(FsOp::ReplaceText, typeListPath(), {13, "权限不够"});
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(lastBox(), "权限不够|16|Scourix 1.51");
    EXPECT_EQ(fake.fs.content(typeListPath()), "1*.tmp\r\n");
    EXPECT_TRUE(fake.fs.exists("/tmp/查找结果信息"));

    fake.fs.clearFailures();
    fake.fs.failOn(FsOp::RemoveIf, "/tmp/查找结果信息", {1, "不允许的操作"});
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(lastBox(), "不允许的操作|16|Scourix 1.51");
    EXPECT_TRUE(fake.fs.exists("/tmp/查找结果信息"));
}

}  // namespace
}  // namespace scourix
