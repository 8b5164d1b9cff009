#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;

class ListReportTest : public FormFixture {
protected:
    ListReportTest() { fake.clock.time = {2026, 12, 5, 22, 30, 7}; }
};

const std::string kHeader =
    "Scourix 1.51\r\n列表文件保存于12-05-2026 22:30:07\r\n-----------------\r\n";
const std::string kTrailer = "----------------------\r\n保存文件结束!\r\n";

TEST_F(ListReportTest, ListFileLineForLineBeforeAnyScanAndAfterOne) {
    form.ViewInfo("empty.txt");
    EXPECT_EQ(fake.fs.content("/home/user/empty.txt"),
              kHeader + "\r\n\r\n找到的文件：\r\n" + kTrailer);
    state.sFindPlaces = "查找位置\r\n    /\r\n";
    state.sFindTypes = "查找的文件类型：\r\n    *.tmp\r\n    *.bak\r\n";
    fake.lstFound.setTexts({"/a.tmp", "/work/报告.bak", "/bad\xe9\n.tmp"});
    fake.lstFound.setChecked(1, true);
    form.ViewInfo("/home/user/list.txt");
    EXPECT_EQ(fake.fs.content("/home/user/list.txt"),
              kHeader +
                  "查找位置\r\n    /\r\n\r\n查找的文件类型：\r\n    *.tmp\r\n    *.bak\r\n\r\n"
                  "找到的文件：\r\n    /a.tmp\r\n    /work/报告.bak\r\n    /bad\\xE9\\n.tmp\r\n" +
                  kTrailer);
    EXPECT_EQ(fake.shell.openedTextFiles, (Texts{"empty.txt", "/home/user/list.txt"}));
    EXPECT_TRUE(fake.window.infoWindows.empty());
}

TEST_F(ListReportTest, ScanReportBeforeAnyTemporaryFolderScanIsInTheCurrentFolder) {
    form.ViewInfo("查找结果信息");
    EXPECT_EQ(fake.window.lastInfo().text, fake.fs.content("/home/user/查找结果信息"));
    EXPECT_TRUE(fake.shell.openedTextFiles.empty());
}

TEST_F(ListReportTest, SaveAsksForANameAndAddsTxtUnlessADotIsInTheLastFiveCharacters) {
    form.mSaveList_Click();  // Cancel
    ASSERT_EQ(fake.dialogs.inputBoxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.inputBoxes[0].prompt,
              "请输入文件名: \r\n当前的目录位置为 [/home/user ]");
    EXPECT_EQ(fake.dialogs.inputBoxes[0].title, "保存列表到文件");
    EXPECT_EQ(fake.dialogs.inputBoxes[0].defaultText, "查找2026_12_05_2230.txt");
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 0);

    const auto saveAs = [&](const std::string& typed, const std::string& saved) {
        fake.dialogs.inputs = {typed};
        form.mSaveList_Click();
        EXPECT_EQ(fake.shell.openedTextFiles.back(), saved) << typed;
        EXPECT_TRUE(fake.fs.exists("/home/user/" + saved)) << typed;
    };
    for (const std::string typed :
         {"abc", "a.b", ".txt", "archive.backup", "报告", "中文报告文件"}) {
        saveAs(typed, typed + ".txt");
    }
    for (const std::string typed : {"abc.log", "x.txt", "文件.日志", "中文的报告.文件"}) {
        saveAs(typed, typed);
    }
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(ListReportTest, AnExistingFileIsNeverReplacedEvenAHiddenOrSystemOne) {
    fake.fs.addFile("/home/user/old.txt", "keep");
    fake.fs.addFile("/home/user/.hidden.txt", "keep too");
    fake.fs.addSpecial("/home/user/pipe.txt");
    for (const std::string name : {"old", ".hidden.txt", "pipe.txt"}) {
        fake.dialogs.inputs = {name};
        form.mSaveList_Click();
        const std::string saved = name == "old" ? "old.txt" : name;
        EXPECT_EQ(lastBox(), "保存文件失败，" + saved + "已经存在！|16|保存列表到文件");
    }
    EXPECT_EQ(fake.fs.content("/home/user/old.txt"), "keep");
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 0);
    EXPECT_TRUE(fake.shell.openedTextFiles.empty());
}

TEST_F(ListReportTest, AScanReportThatCannotBeWrittenIsNotShown) {
    fake.fs.failOn(FsOp::WriteText, "/tmp/查找结果信息", FaultyFileSystem::permissionDenied());
    state.sTempPath = "/tmp/";
    form.ViewInfo("/tmp/查找结果信息");
    EXPECT_EQ(lastBox(),
              "写入文件时发生错误。\r\n\r\n/tmp/查找结果信息\r\nPermission denied|16|错误");
    EXPECT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_TRUE(fake.window.infoWindows.empty());
}

}  // namespace
}  // namespace scourix
