#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "FormFixture.h"
#include "app/WindowDesign.h"

namespace scourix {
namespace {

const std::vector<std::string> kNineDisabled = {
    "cmdStopFind",   "cmdDeltmp", "mStopFind", "cmdOpen", "mOpen",
    "cmdFileAttrib", "mAttrib",   "cmdKill",   "mKill",
};

const std::vector<std::string> kSetEn26 = {
    "cmdAdd",  "cmdFind",       "mFind",     "cmdDeltmp",     "cmdFindFile", "mFindFile",
    "cmdKill", "mKill",         "cmdRemove", "cmdStopFind",   "mStopFind",   "lstDrive",
    "lstPat",  "chkHideFile",   "chkSelAll", "chkSystemFile", "cmdAddPath",  "Label1",
    "Label2",  "cmdFileAttrib", "mAttrib",   "cmdClose",      "mClose",      "PopDrive",
    "PopType", "mList",
};

std::vector<std::pair<std::string, bool>> switched(const std::vector<std::string>& names, bool on) {
    std::vector<std::pair<std::string, bool>> out;
    for (const std::string& n : names) {
        out.emplace_back(n, on);
    }
    return out;
}

using StartupTest = FormFixture;

TEST_F(StartupTest, AfterStartUpExactlyTheNineCommandsAreDisabled) {
    form.Form_Load();
    std::vector<std::string> disabled = fake.controls.namesWhere(false);
    std::vector<std::string> expected = kNineDisabled;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(disabled, expected);
    EXPECT_TRUE(state.startUpDone);
    EXPECT_TRUE(state.bStop);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(StartupTest, StepsRunInOrder) {
    fake.fs.volumeList = {"/"};
    bool checkedDuringDoEvents = false;
    fake.window.onDoEvents = [&] {
        // The window is on screen with its commands off, before the lists are filled.
        checkedDuringDoEvents = true;
        EXPECT_EQ(fake.window.showMainWindowCalls, 1);
        EXPECT_EQ(fake.lstDrive.count(), 0u);
        EXPECT_TRUE(fake.lstPat.checkedTexts().empty());
        EXPECT_EQ(fake.controls.caption("Label4"), "Scourix 1.51");
        for (const std::string& name : kSetEn26) {
            EXPECT_FALSE(fake.controls.enabled(name)) << name;
        }
    };
    form.Form_Load();
    EXPECT_TRUE(checkedDuringDoEvents);
    EXPECT_EQ(fake.window.doEventsCalls, 1);

    // SetEn(False), SetEn(True), then the nine, each in its own order.
    auto expected = switched(kSetEn26, false);
    for (const auto& e : switched(kSetEn26, true)) {
        expected.push_back(e);
    }
    for (const auto& e : switched(kNineDisabled, false)) {
        expected.push_back(e);
    }
    EXPECT_EQ(fake.controls.enableLog, expected);

    EXPECT_EQ(fake.lstDrive.texts(), (std::vector<std::string>{"/", "临时文件夹"}));
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    // Start-up leaves the check boxes and the result list as the design has them.
    EXPECT_EQ(fake.controls.value("chkHideFile"), 1);
    EXPECT_EQ(fake.controls.value("chkSystemFile"), 1);
    EXPECT_EQ(fake.controls.value("chkSelAll"), 0);
    EXPECT_EQ(fake.lstFound.count(), 0u);
}

TEST_F(StartupTest, FailuresDuringStartUpAreSilentAndStartUpFinishes) {
    fake.fs.volumeList = {"/", "/media/dvd/"};
    fake.fs.failOn(FsOp::Probe, "/", FakeFileSystem::permissionDenied());
    fake.fs.addFile(typeListPath(), "1*.tmp\r\n");
    fake.fs.failOn(FsOp::ReadLines, typeListPath(), FakeFileSystem::permissionDenied());
    form.Form_Load();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_TRUE(state.startUpDone);
    EXPECT_EQ(fake.lstDrive.checks(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(fake.lstPat.count(), 0u);
    EXPECT_TRUE(fake.controls.enabled("cmdFind"));
}

TEST_F(StartupTest, SetEnSwitchesTheTwentySixAndNothingElse) {
    form.Form_Load();
    for (bool on : {false, true, false}) {
        const auto before = fake.controls.states;
        fake.controls.enableLog.clear();
        form.SetEn(on);
        EXPECT_EQ(fake.controls.enableLog, switched(kSetEn26, on));
        for (const auto& [name, s] : fake.controls.states) {
            const bool listed = std::find(kSetEn26.begin(), kSetEn26.end(), name) != kSetEn26.end();
            EXPECT_EQ(s.enabled, listed ? on : before.at(name).enabled) << name;
        }
    }
    // What a scan leaves reachable: only the temp listing and the result list.
    EXPECT_TRUE(fake.controls.enabled("cmdListTempFile"));
    EXPECT_TRUE(fake.controls.enabled("mListtempfiles"));
    EXPECT_TRUE(fake.controls.enabled("lstFound"));
    EXPECT_EQ(setEnOrder().size(), 26u);
}

// Closing.

class ClosingTest : public FormFixture {
protected:
    void SetUp() override {
        form.Form_Load();
        fake.fs.calls.clear();
    }
    const std::string refusal = "现在正在查找文件，无法关闭程序。\r\n\r\n必须先停止查找。";
};

TEST_F(ClosingTest, IsIgnoredBeforeStartUpHasFinished) {
    FakePlatform early;
    MainForm window(early.platform());
    EXPECT_TRUE(window.Form_Unload());
    EXPECT_TRUE(early.dialogs.boxes.empty());
    EXPECT_EQ(early.fs.callCount(FsOp::ReplaceText), 0);
    EXPECT_TRUE(early.fs.calls.empty());
}

TEST_F(ClosingTest, IsRefusedWhileAScanRunsAndAfterStopUntilTheScanHasEnded) {
    fake.fs.addFile(typeListPath(), "old");
    state.scanActive = true;
    state.bStop = false;
    EXPECT_TRUE(form.Form_Unload());
    state.bStop = true;  // Stop pressed, the walk still unwinding
    EXPECT_TRUE(form.Form_Unload());

    ASSERT_EQ(fake.dialogs.boxes.size(), 2u);
    for (const auto& box : fake.dialogs.boxes) {
        EXPECT_EQ(box.text, refusal);
        EXPECT_EQ(box.title, "错误");
        EXPECT_EQ(box.flags, 16);
    }
    EXPECT_TRUE(fake.fs.calls.empty());
    EXPECT_EQ(fake.fs.content(typeListPath()), "old");

    state.scanActive = false;
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_NE(fake.fs.content(typeListPath()), "old");
}

TEST_F(ClosingTest, IsRefusedWhenBStopIsFalseEvenWithoutAnActiveScan) {
    state.bStop = false;
    EXPECT_TRUE(form.Form_Unload());
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].text, refusal);
}

TEST_F(ClosingTest, SavesTheListAndRemovesTheReportFiles) {
    state.sTempPath = "/tmp/";
    fake.fs.addFile("/tmp/错误信息", "x");
    fake.fs.addFile("/tmp/查找结果信息", "y");
    fake.fs.addFile("/tmp/other", "z");
    fake.lstPat.setChecked(0, false);
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_FALSE(fake.fs.exists("/tmp/错误信息"));
    EXPECT_FALSE(fake.fs.exists("/tmp/查找结果信息"));
    EXPECT_TRUE(fake.fs.exists("/tmp/other"));
    const std::string saved = fake.fs.content(typeListPath());
    EXPECT_TRUE(saved.starts_with("0*.---\r\n1*.#Res\r\n"));
}

TEST_F(ClosingTest, WithoutATempPathTheReportFilesAreLookedForInTheCurrentFolder) {
    fake.fs.addFile(fake.fs.current + "/查找结果信息", "y");
    fake.fs.addFile("/tmp/查找结果信息", "kept");
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_FALSE(fake.fs.exists(fake.fs.current + "/查找结果信息"));
    EXPECT_TRUE(fake.fs.exists("/tmp/查找结果信息"));
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(ClosingTest, MissingOrNonOrdinaryReportFilesAreLeftAlone) {
    state.sTempPath = "/tmp/";
    fake.fs.addFolder("/tmp/查找结果信息");
    fake.fs.addSpecial("/tmp/错误信息");
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(fake.fs.callCount(FsOp::Remove), 0);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(ClosingTest, AFailedSaveIsShownAndTheWindowClosesWithoutTouchingTheReports) {
    state.sTempPath = "/tmp/";
    fake.fs.addFile(typeListPath(), "1*.tmp\r\n");
    fake.fs.addFile("/tmp/查找结果信息", "y");
    fake.fs.failOn(FsOp::ReplaceText, typeListPath(), {13, "权限不够"});
    EXPECT_FALSE(form.Form_Unload());
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].text, "权限不够");
    EXPECT_EQ(fake.dialogs.boxes[0].title, "Scourix 1.51");
    EXPECT_EQ(fake.dialogs.boxes[0].flags, 16);
    EXPECT_TRUE(fake.fs.exists("/tmp/查找结果信息"));
    EXPECT_EQ(fake.fs.content(typeListPath()), "1*.tmp\r\n");
}

TEST_F(ClosingTest, AFailedRemovalIsShownAndTheRemainingStepIsSkipped) {
    state.sTempPath = "/tmp/";
    fake.fs.addFile("/tmp/错误信息", "x");
    fake.fs.addFile("/tmp/查找结果信息", "y");
    fake.fs.failOn(FsOp::Remove, "/tmp/错误信息", {1, "不允许的操作"});
    EXPECT_FALSE(form.Form_Unload());
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].text, "不允许的操作");
    EXPECT_EQ(fake.dialogs.boxes[0].title, "Scourix 1.51");
    EXPECT_TRUE(fake.fs.exists("/tmp/查找结果信息"));

    // The second report's own failure is shown the same way.
    FakePlatform other;
    MainForm window(other.platform());
    window.Form_Load();
    window.state().sTempPath = "/tmp/";
    other.fs.addFile("/tmp/查找结果信息", "y");
    other.fs.failOn(FsOp::Lookup, "/tmp/查找结果信息", {5, "输入/输出错误"});
    EXPECT_FALSE(window.Form_Unload());
    ASSERT_EQ(other.dialogs.boxes.size(), 1u);
    EXPECT_EQ(other.dialogs.boxes[0].text, "输入/输出错误");
}

TEST_F(ClosingTest, CloseCommandsOnlyAskTheWindowToClose) {
    int unloads = 0;
    fake.window.onRequestClose = [&] {
        ++unloads;
        form.Form_Unload();
    };
    form.cmdClose_Click();
    form.mClose_Click();
    EXPECT_EQ(fake.window.requestCloseCalls, 2);
    EXPECT_EQ(unloads, 2);
    EXPECT_EQ(fake.window.endNowCalls, 0);
    EXPECT_EQ(fake.fs.callCount(FsOp::ReplaceText), 2);
}

}  // namespace
}  // namespace scourix
