#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"
#include "app/WindowDesign.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using StartupTest = FormFixture;

TEST_F(StartupTest, ShowsTheWindowWithTheCommandsOffThenFillsTheListsAndSwitchesThemOn) {
    EXPECT_TRUE(form.Form_Unload());  // ignored until start-up has finished
    EXPECT_TRUE(fake.fs.calls.empty());
    fake.fs.volumeList = {"/"};
    fake.window.onDoEvents = [&] {  // on screen before the lists are filled
        EXPECT_EQ(fake.window.showMainWindowCalls, 1);
        EXPECT_EQ(fake.controls.enableLog.size(), setEnOrder().size());
        EXPECT_EQ(fake.lstDrive.count() + fake.lstPat.checkedTexts().size(), 0u);
    };
    form.Form_Load();
    EXPECT_EQ(fake.window.doEventsCalls, 1);
    // SetEn(False), SetEn(True), then the commands that need a result go off again.
    std::vector<std::pair<std::string, bool>> expected;
    for (int pass = 0; pass < 3; ++pass) {
        for (std::string_view name : pass < 2 ? setEnOrder() : disabledAfterStartUp()) {
            expected.emplace_back(name, pass == 1);
        }
    }
    EXPECT_EQ(fake.controls.enableLog, expected);
    EXPECT_EQ(fake.controls.caption("Label4"), "Scourix 1.51");
    EXPECT_EQ(fake.lstDrive.texts(), (Texts{"/", "临时文件夹"}));
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    EXPECT_TRUE(state.startUpDone && state.bStop && fake.dialogs.boxes.empty());
}

TEST_F(StartupTest, ClosingWaitsForTheScanThenSavesTheListAndRemovesTheReportsThisRunWrote) {
    form.Form_Load();
    fake.fs.calls.clear();
    // Scanning; Stop pressed with the walk still unwinding; bStop false on its own.
    for (auto [active, stop] : {std::pair{true, false}, {true, true}, {false, false}}) {
        state.scanActive = active;
        state.bStop = stop;
        EXPECT_TRUE(form.Form_Unload());
        EXPECT_EQ(lastBox(), "现在正在查找文件，无法关闭程序。\r\n\r\n必须先停止查找。|16|错误");
    }
    EXPECT_TRUE(fake.fs.calls.empty());
    state.bStop = true;

    // Files of the reports' names that this run did not write are not its to delete.
    fake.fs.addFile("/tmp/错误信息", "x");
    fake.fs.addFile("/tmp/查找结果信息", "y");
    fake.lstPat.setChecked(0, false);
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(fake.fs.content(typeListPath()), "0*.---\r\n" + builtInTypeList().substr(8));
    EXPECT_TRUE(fake.fs.exists("/tmp/错误信息") && fake.fs.exists("/tmp/查找结果信息"));
    state.sTempPath = "/tmp/";
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
    EXPECT_EQ(fake.dialogs.boxes.size(), 3u);
}

TEST_F(StartupTest, AFailureWhileClosingIsShownAndTheWindowClosesWithoutTheRemainingSteps) {
    form.Form_Load();
    fake.fs.addFile(typeListPath(), "1*.tmp\r\n");
    state.sTempPath = "/tmp/";
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
