#include <gtest/gtest.h>

#include <algorithm>
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

TEST_F(ListReportTest, ListFileLineForLineBeforeAnyScanAndAfterOneAndTheScanReport) {
    const std::string header =
        "Scourix 1.51\r\n列表文件保存于12-05-2026 22:30:07\r\n-----------------\r\n";
    const std::string trailer = "----------------------\r\n保存文件结束!\r\n";
    form.ViewInfo("empty.txt");
    EXPECT_EQ(fake.fs.content("/home/user/empty.txt"),
              header + "\r\n\r\n找到的文件：\r\n" + trailer);
    state.sFindPlaces = "查找位置\r\n    /\r\n";
    state.sFindTypes = "查找的文件类型：\r\n    *.tmp\r\n    *.bak\r\n";
    fake.lstFound.setTexts({"/a.tmp", "/work/报告.bak", "/bad\xe9\n.tmp"});
    fake.lstFound.setChecked(1, true);
    form.ViewInfo("/home/user/list.txt");
    EXPECT_EQ(fake.fs.content("/home/user/list.txt"),
              header +
                  "查找位置\r\n    /\r\n\r\n查找的文件类型：\r\n    *.tmp\r\n    *.bak\r\n\r\n"
                  "找到的文件：\r\n    /a.tmp\r\n    /work/报告.bak\r\n    /bad\\xE9\\n.tmp\r\n" +
                  trailer);
    EXPECT_EQ(fake.shell.openedTextFiles, (Texts{"empty.txt", "/home/user/list.txt"}));
    EXPECT_TRUE(fake.window.infoWindows.empty());
    // The scan report, before any scan of the temporary folder, in the current folder.
    form.ViewInfo("查找结果信息");
    EXPECT_EQ(fake.window.lastInfo().text, fake.fs.content("/home/user/查找结果信息"));
    EXPECT_EQ(fake.shell.openedTextFiles.size(), 2u);
    // One that cannot be written is not shown.
    fake.fs.failOn(FsOp::WriteText, "/tmp/查找结果信息", FaultyFileSystem::permissionDenied());
    state.sTempPath = "/tmp/";
    form.ViewInfo("/tmp/查找结果信息");
    EXPECT_EQ(lastBox(),
              "写入文件时发生错误。\r\n\r\n/tmp/查找结果信息\r\nPermission denied|16|错误");
    EXPECT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.window.infoWindows.size(), 1u);
}

TEST_F(ListReportTest, SaveAddsTxtUnlessADotIsInTheLastFiveCharactersAndNeverReplaces) {
    fake.fs.addFile("/home/user/old.txt", "keep");
    fake.fs.addFile("/home/user/.hidden.txt", "keep too");
    fake.fs.addSpecial("/home/user/pipe.txt");
    form.mSaveList_Click();  // Cancel
    ASSERT_EQ(fake.dialogs.inputBoxes.size(), 1u);
    const FakeDialogs::Input& in = fake.dialogs.inputBoxes[0];
    EXPECT_EQ(in.prompt + "|" + in.title + "|" + in.defaultText,
              "请输入文件名: \r\n当前的目录位置为 [/home/user ]|保存列表到文件|"
              "查找2026_12_05_2230.txt");
    // Saved as typed or with ".txt"; an existing file, hidden or special too, is refused.
    for (const bool asTyped : {false, true}) {
        for (const std::string& typed :
             asTyped
                 ? Texts{"abc.log", "x.txt", "文件.日志", "中文的报告.文件", ".hidden.txt",
                         "pipe.txt"}
                 : Texts{"abc", "a.b", ".txt", "archive.backup", "报告", "中文报告文件", "old"}) {
            const std::string saved = asTyped ? typed : typed + ".txt";
            const bool refused = fake.fs.exists(saved);
            fake.dialogs.inputs = {typed};
            form.mSaveList_Click();
            if (refused) {
                EXPECT_EQ(lastBox(), "保存文件失败，" + saved + "已经存在！|16|保存列表到文件");
            } else {
                EXPECT_EQ(fake.shell.openedTextFiles.back(), saved);
                EXPECT_TRUE(fake.fs.content(saved).starts_with("Scourix 1.51\r\n")) << typed;
            }
        }
    }
    EXPECT_EQ(fake.fs.content("/home/user/old.txt"), "keep");
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 10);
    EXPECT_EQ(fake.dialogs.boxes.size(), 3u);
}

TEST(RenameTest, RenamesTheCurrentFileInItsFolder) {
    struct Row {
        std::ptrdiff_t current;
        std::string typed, offered, box, entry;
    };
    for (const Row& r : {
             Row{1, "", "a.tmp", "", "/d/a.tmp"},
             Row{1, "a.tmp", "a.tmp", "", "/d/a.tmp"},
             Row{1, "  A.TMP ", "a.tmp", "", "/d/A.TMP"},
             Row{1, "b.tmp", "a.tmp", "File exists|16|", "/d/a.tmp"},
             Row{1, "sub/a.tmp", "a.tmp", "文件名无效：不能含有“/”|16|", "/d/a.tmp"},
             Row{2, "new.tmp", "", "No such file or directory|16|", "/d/gone.tmp"},
             Row{3, "h.tmp", ".h.tmp", "", "/d/h.tmp"},
             // The default given back as it came changes nothing, blanks and all; an edited
             // answer loses its blanks.
             Row{4, " lead.tmp", " lead.tmp", "", "/d/ lead.tmp"},
             Row{4, " lead.tmp  ", " lead.tmp", "", "/d/lead.tmp"},
             Row{-1, "new.tmp", "", "", "/d/b.tmp"},
         }) {
        SCOPED_TRACE(r.typed);
        FakePlatform fake;
        MainForm form{fake.platform()};
        fake.fs.addFile("/d/sub/b.tmp");
        fake.fs.addFile("/d/b.tmp", "B");
        for (const char* name : {"/d/a.tmp", "/d/.h.tmp", "/d/ lead.tmp"}) {
            fake.fs.addFile(name, "A");
        }
        fake.fs.addFolder("/d/gone.tmp");  // a folder in the gone file's place stays as it is
        Texts texts{"/d/b.tmp", "/d/a.tmp", "/d/gone.tmp", "/d/.h.tmp", "/d/ lead.tmp"};
        fake.lstFound.setTexts(texts);
        fake.lstFound.setAllChecked(true);
        fake.lstFound.current = r.current;
        fake.dialogs.inputs = {r.typed};
        form.mRename_Click();

        std::string shown;
        for (const auto& in : fake.dialogs.inputBoxes) {
            shown += in.prompt + "|" + in.title + "|" + in.defaultText + "\n";
        }
        for (const auto& box : fake.dialogs.boxes) {
            shown += box.text + "|" + std::to_string(box.flags) + "|" + box.title;
        }
        EXPECT_EQ(shown, r.current < 0 ? "" : "请输入新的文件名:|改名|" + r.offered + "\n" + r.box);
        texts[std::max<std::ptrdiff_t>(r.current, 0)] = r.entry;
        EXPECT_EQ(fake.lstFound.texts(), texts);
        EXPECT_EQ(fake.lstFound.checks(), std::vector<bool>(5, true));
        if (r.current >= 0 && r.current != 2) {
            EXPECT_EQ(fake.fs.content(r.entry), "A");
            EXPECT_EQ(fake.fs.exists("/d/" + r.offered), r.entry == "/d/" + r.offered);
        }
        EXPECT_EQ(fake.fs.content("/d/b.tmp"), "B");
        EXPECT_EQ(fake.fs.node("/d/gone.tmp")->kind, FaultyFileSystem::Kind::Folder);
    }
}

}  // namespace
}  // namespace scourix
