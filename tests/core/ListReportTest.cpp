#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

class ListReportTest : public FormFixture {
protected:
    ListReportTest() { fake.clock.time = {2026, 12, 5, 22, 30, 7}; }

    // After a scan of "/" for *.tmp and *.bak that found two files, one ticked.
    void afterScan() {
        state.sFindPlaces = "查找位置\r\n    /\r\n";
        state.sFindTypes = "查找的文件类型：\r\n    *.tmp\r\n    *.bak\r\n";
        fake.lstFound.setTexts({"/a.tmp", "/work/报告.bak"});
        fake.lstFound.setChecked(1, true);
    }
};

const char* const kHeader =
    "Scourix 1.51\r\n列表文件保存于12-05-2026 22:30:07\r\n-----------------\r\n";
const char* const kTrailer = "----------------------\r\n保存文件结束!\r\n";

TEST_F(ListReportTest, SavedListLineForLine) {
    afterScan();
    form.ViewInfo("/home/user/list.txt");
    EXPECT_EQ(fake.fs.content("/home/user/list.txt"), std::string(kHeader) +
                                                          "查找位置\r\n"
                                                          "    /\r\n"
                                                          "\r\n"
                                                          "查找的文件类型：\r\n"
                                                          "    *.tmp\r\n"
                                                          "    *.bak\r\n"
                                                          "\r\n"
                                                          "找到的文件：\r\n"
                                                          "    /a.tmp\r\n"
                                                          "    /work/报告.bak\r\n" +
                                                          kTrailer);
    EXPECT_EQ(fake.shell.openedTextFiles, std::vector<std::string>{"/home/user/list.txt"});
    EXPECT_TRUE(fake.window.infoWindows.empty());
}

TEST_F(ListReportTest, BeforeAnyScanAndWithAnEmptyList) {
    form.ViewInfo("empty.txt");
    EXPECT_EQ(fake.fs.content("/home/user/empty.txt"),
              std::string(kHeader) + "\r\n\r\n找到的文件：\r\n" + kTrailer);
}

TEST_F(ListReportTest, ScanReportBeforeAnyTemporaryFolderScanIsInTheCurrentFolder) {
    form.ViewInfo("查找结果信息");
    EXPECT_EQ(fake.window.lastInfo().text, fake.fs.content("/home/user/查找结果信息"));
    EXPECT_TRUE(fake.shell.openedTextFiles.empty());
}

TEST_F(ListReportTest, SaveAsksForANameWithTheCurrentFolder) {
    form.mSaveList_Click();  // Cancel
    ASSERT_EQ(fake.dialogs.inputBoxes.size(), 1u);
    const auto& input = fake.dialogs.inputBoxes[0];
    EXPECT_EQ(input.prompt, "请输入文件名: \r\n当前的目录位置为 [/home/user ]");
    EXPECT_EQ(input.title, "保存列表到文件");
    EXPECT_EQ(input.defaultText, "查找2026_12_05_2230.txt");
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 0);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_TRUE(fake.shell.openedTextFiles.empty());
}

TEST_F(ListReportTest, ExtensionRule) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"abc", "abc.txt"},
        {"abc.log", "abc.log"},
        {"x.txt", "x.txt"},
        {"a.b", "a.b.txt"},
        {".txt", ".txt.txt"},
        {"archive.backup", "archive.backup.txt"},
        {"报告", "报告.txt"},
        {"文件.日志", "文件.日志"},
        {"中文的报告.文件", "中文的报告.文件"},
        {"中文报告文件", "中文报告文件.txt"},
    };
    for (const auto& [typed, saved] : table) {
        fake.dialogs.inputs = {typed};
        form.mSaveList_Click();
        EXPECT_EQ(fake.shell.openedTextFiles.back(), saved) << typed;
        EXPECT_TRUE(fake.fs.exists("/home/user/" + saved)) << typed;
    }
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(ListReportTest, AnExistingFileIsNeverReplaced) {
    fake.fs.addFile("/home/user/old.txt", "keep");
    fake.fs.addFile("/home/user/.hidden.txt", "keep too");
    fake.fs.addSpecial("/home/user/pipe.txt");
    for (const char* name : {"old.txt", "old", ".hidden.txt", "pipe.txt"}) {
        fake.dialogs.inputs = {name};
        form.mSaveList_Click();
        const std::string saved = name == std::string("old") ? "old.txt" : name;
        EXPECT_EQ(fake.dialogs.boxes.back().text, "保存文件失败，" + saved + "已经存在！");
        EXPECT_EQ(fake.dialogs.boxes.back().flags, 16);
        EXPECT_EQ(fake.dialogs.boxes.back().title, "保存列表到文件");
    }
    EXPECT_EQ(fake.fs.content("/home/user/old.txt"), "keep");
    EXPECT_EQ(fake.fs.content("/home/user/.hidden.txt"), "keep too");
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 0);
    EXPECT_TRUE(fake.shell.openedTextFiles.empty());
}

TEST_F(ListReportTest, AScanReportThatCannotBeWrittenIsNotShown) {
    fake.fs.failOn(FsOp::WriteText, "/tmp/查找结果信息", FakeFileSystem::permissionDenied());
    state.sTempPath = "/tmp/";
    form.ViewInfo("/tmp/查找结果信息");
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].text,
              "写入文件时发生错误。\r\n\r\n/tmp/查找结果信息\r\nPermission denied");
    EXPECT_EQ(fake.dialogs.boxes[0].flags, 16);
    EXPECT_TRUE(fake.window.infoWindows.empty());
}

}  // namespace
}  // namespace scourix
