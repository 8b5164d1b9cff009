// The result list and the commands on its files: ticks, open, delete, rename, reports.
#include <algorithm>
#include <cerrno>
#include <tuple>

#include "FormFixture.h"

namespace scourix {
namespace {

class ResultListTest : public FormFixture {
protected:
    ResultListTest() {
        fake.fs.addFile("/d/a b.tmp");
        fake.fs.addFile("/d/.hidden.tmp");
        fake.lstFound.setTexts({"/d/a b.tmp", "/d/gone.tmp", "/d/.hidden.tmp"});
    }
};

// The press alone runs the click procedure, which enables the item. Per row: the current
// entry, button, modifiers, scanning; the menu, the item's caption and whether it is on.
TEST_F(ResultListTest, RightClickShowsTheMenuOnlyForACurrentEntryWithoutModifiersOrScan) {
    using Case = std::tuple<std::ptrdiff_t, int, int, bool, bool, std::string, bool>;
    for (const auto& [current, button, shift, scanning, menu, caption, enabled] :
         std::vector<Case>{{-1, kRightButton, 0, false, false, "打开", false},  // before any click
                           {0, kRightButton, 0, false, true, "打开 a b.tmp", true},
                           {1, kRightButton, 0, false, true, "打开 ", true},             // gone
                           {2, kRightButton, 0, false, true, "打开 ", true},             // hidden
                           {0, kRightButton, 1, false, false, "打开 /d/a b.tmp", true},  // Shift
                           {0, kLeftButton, 0, false, false, "打开(&O)", false},
                           {0, kRightButton, 0, true, false, "打开 /d/a b.tmp", true}}) {
        SCOPED_TRACE(::testing::Message() << current << " " << button << " " << shift);
        fake.window.popupMenus.clear();
        fake.controls.setCaption("mOpen", "打开(&O)");
        fake.controls.setEnabled("mOpen", false);
        fake.lstFound.current = current;
        state.bStop = !scanning;
        form.lstFound_MouseDown(button, shift);
        form.lstFound_MouseUp(button, shift);
        EXPECT_EQ(fake.window.popupMenus, Texts(menu, "mList"));
        EXPECT_EQ(fake.controls.caption("mOpen"), caption);
        EXPECT_EQ(fake.controls.enabled("mOpen"), enabled);
    }
}

// Select all and clear all act only through a change of the box, one list update each.
// Clearing takes the entries only; open then asks for a file and properties do nothing.
TEST_F(ResultListTest, TickOpenAndClearCommands) {
    fake.controls.setValue("chkSelAll", 1);
    fake.lstFound.setChecked(1, true);  // ticked by hand, the box already on
    form.mSelAll_Click();
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{false, true, false}));
    form.mLChSel_Click();
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{true, false, true}));
    EXPECT_EQ(fake.controls.value("chkSelAll"), 1) << "inverting leaves the box alone";
    form.mSelAllUn_Click();
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{false, false, false}));
    form.mSelAllUn_Click();
    form.mSelAll_Click();
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{true, true, true}));
    EXPECT_EQ(fake.lstFound.bulkCalls, 3);

    fake.lstFound.current = 0;
    form.lstFound_Click();
    for (OpenOutcome outcome : {OpenOutcome::Opened, OpenOutcome::Failed,
                                OpenOutcome::NoAssociation, OpenOutcome::OpenerMissing}) {
        fake.shell.outcome = outcome;
        form.mOpen_Click();
    }
    EXPECT_EQ(takeBoxes(fake.dialogs),
              (Texts{"你选择的文件可能在Windows中没有关联，所以无法打开文件。|16|错误",
                     "无法启动打开文件的程序 xdg-open，所以无法打开文件。请安装 xdg-utils "
                     "软件包。|16|错误"}));
    EXPECT_EQ(fake.shell.openedDocuments, Texts(4, "/d/a b.tmp"));
    form.mAttrib_Click();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    fake.shell.propertiesShown = false;
    form.mAttrib_Click();
    EXPECT_EQ(takeBoxes(fake.dialogs),
              Texts{"无法显示文件属性：没有能显示它的文件管理器。以管理员身份运行时，程序用不到"
                    "你的桌面会话。|16|文件属性"});
    EXPECT_EQ(fake.shell.shownProperties, Texts(2, "/d/a b.tmp"));

    form.mClear_Click();
    EXPECT_EQ(fake.controls.caption("lblInfo"), "/d/a b.tmp");
    EXPECT_EQ(fake.controls.caption("mOpen"), "打开 /d/a b.tmp");
    EXPECT_EQ(fake.controls.toolTip("lstFound"), "/d/a b.tmp");
    EXPECT_EQ(fake.controls.value("chkSelAll"), 1);
    ASSERT_TRUE(fake.controls.enabled("cmdOpen"));
    form.cmdOpen_Click();
    form.cmdFileAttrib_Click();
    EXPECT_EQ(takeBoxes(fake.dialogs), Texts{" 请先选取一个文件。|16|打开文件"});
    EXPECT_EQ(fake.shell.openedDocuments.size(), 4u);
    EXPECT_EQ(fake.shell.shownProperties.size(), 2u);
}

// Open and the sheet get the checked file's real path, and open its first bytes; a failed
// lookup, a file gone and one that is no regular file end both in silence.
TEST_F(ResultListTest, OpenAndPropertiesGiveTheCheckedFileOrNothing) {
    fake.fs.addFile("/e/real.txt", "hello");
    fake.fs.addLink("/d/l.tmp", "/e/real.txt");
    fake.fs.addSpecial("/d/p.tmp");
    fake.fs.failOn(FsOp::Lookup, "/d/a b.tmp", FaultyFileSystem::permissionDenied());
    fake.lstFound.setTexts({"/d/l.tmp", "/d/a b.tmp", "/d/gone.tmp", "/d/p.tmp"});
    for (std::ptrdiff_t i = 0; i < 4; ++i) {
        fake.lstFound.current = i;
        form.cmdOpen_Click();
        form.cmdFileAttrib_Click();
    }
    EXPECT_EQ(fake.shell.openedDocuments, Texts{"/e/real.txt"});
    EXPECT_EQ(fake.shell.heads, Texts{"hello"});
    EXPECT_EQ(fake.shell.shownProperties, Texts{"/e/real.txt"});
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

// Per command: whether it renames, and the texts of its boxes and report in order.
const std::tuple<void (MainForm::*)(), bool, Texts> kCommands[] = {
    {&MainForm::mKill_Click, false,
     Texts{"删除文件", "真的要永久性删除选定的 ", "永久性删除文件", "删除文件操作：(",
           "如果含有只读文件，是否删除？", "删除只读文件", "无法删除！"}},
    {&MainForm::cmdDeltmp_Click, true,
     Texts{"暂时删除文件", "真的要重命名(改为*.del)选定的 ", "暂时性删除文件", "重命名文件操作：(",
           "如果含有只读文件，是否重命名？", "重命名只读文件", "无法重命名！"}}};

// The questions and the report byte for byte: No at the start, then read-only files with No
// (a read-only file cannot be deleted, but it can be renamed), then with Yes.
TEST(DeletionTest, QuestionsAndReportOfBothCommands) {
    for (const auto& [click, rename, t] : kCommands) {
        SCOPED_TRACE(t[2]);
        FakePlatform fake;
        MainForm form{fake.platform()};
        fake.clock.time = {2005, 1, 2, 3, 4, 5};
        fake.fs.addFile("/d/a.tmp", "a", true);
        fake.fs.addFile("/d/b\xff.tmp");    // not UTF-8: acted on by its bytes
        fake.fs.addFile("/d/c\n\xe9.tmp");  // its report line shows the escapes
        fake.fs.addFile("/d/e.tmp");        // its look fails: the attempt decides
        fake.fs.failOn(rename ? FsOp::Rename : FsOp::Remove, "/d/c\n\xe9.tmp",
                       {EBUSY, "Device or resource busy"}, 1);
        fake.fs.failOn(FsOp::Lookup, "/d/e.tmp", {EIO, "Input/output error"});
        const Texts all{"/d/a.tmp", "/d/gone.tmp", "/d/b\xff.tmp", "/d/c\n\xe9.tmp", "/d/e.tmp"};
        fake.lstFound.setTexts(all);
        (form.*click)();
        EXPECT_EQ(takeBoxes(fake.dialogs), Texts{"没有选取任何文件。|16|" + t[0]});

        fill(fake.lstFound, all, {true, true, false, true, true});
        const std::string confirm = t[1] + "4 个文件?|308|" + t[2];
        fake.dialogs.answers = {mb::kIdNo};
        (form.*click)();
        EXPECT_EQ(takeBoxes(fake.dialogs), Texts{confirm});
        EXPECT_EQ(fake.window.pointers, (std::vector<int>{11, 0}));
        EXPECT_EQ(fake.window.doEventsCalls, 1);
        EXPECT_EQ(fake.lstFound.texts(), all);

        // The file that was gone leaves without a line; so does the one whose look failed.
        fake.dialogs.answers = {mb::kIdYes, mb::kIdNo, mb::kIdYes};
        (form.*click)();
        EXPECT_EQ(takeBoxes(fake.dialogs),
                  (Texts{confirm, t[4] + "|52|" + t[5],
                         "选中的文件中有 " + std::string(rename ? "1" : "2") + " 个文件" + t[6] +
                             "\r\n\r\n是否要查看更详细的错误信息?|20|错误"}));
        const auto& info = fake.window.lastInfo();
        EXPECT_EQ(info.text, t[3] + "01-02-2005 03:04:05)\r\n" + std::string(37, '-') +
                                 "\r\n1\x1a /d/c\\n\\xE9.tmp\x1a[Device or resource busy]\r\n" +
                                 (rename ? "" : "2\x1a /d/a.tmp\x1a[Permission denied]\r\n"));
        EXPECT_TRUE(info.heading == "错误信息" && info.textColor == kRed &&
                    info.background == kCream);
        EXPECT_EQ(fake.lstFound.texts(),
                  rename ? Texts({"/d/b\xff.tmp", "/d/c\n\xe9.tmp"})
                         : Texts({"/d/a.tmp", "/d/b\xff.tmp", "/d/c\n\xe9.tmp"}));
        EXPECT_EQ(fake.lstFound.checkedTexts(),
                  rename ? Texts({"/d/c\n\xe9.tmp"}) : Texts({"/d/a.tmp", "/d/c\n\xe9.tmp"}));
        EXPECT_EQ(fake.fs.exists("/d/a.tmp.del") && fake.fs.exists("/d/e.tmp.del"), rename);
        EXPECT_FALSE(fake.fs.exists("/d/e.tmp"));

        // Yes resets read-only first; with no failure there is no last question.
        fake.lstFound.setAllChecked(true);
        fake.dialogs.answers = {mb::kIdYes, mb::kIdYes};
        (form.*click)();
        EXPECT_EQ(takeBoxes(fake.dialogs).size(), 2u);
        EXPECT_EQ(fake.lstFound.count(), 0u);
        EXPECT_FALSE(fake.fs.exists("/d/a.tmp") || fake.fs.exists("/d/b\xff.tmp"));
        EXPECT_EQ(fake.fs.exists("/d/b\xff.tmp.del"), rename);
        EXPECT_EQ(fake.window.pointer(), kPointerDefault);
        EXPECT_EQ(fake.window.infoWindows.size(), 1u);
    }
}

// The reset asks nothing: a failed change goes unnoticed and the deletion that follows
// reports the file. Unticked files and those that cannot be changed stay read-only.
TEST_F(ResultListTest, AttributeResetGivesWriteToTheTickedFilesWithoutAWord) {
    const Texts files{"/d/x", "/d/v", "/d/y", "/d/z"};
    for (const std::string& p : files) {
        fake.fs.addFile(p, "", true);
    }
    fill(fake.lstFound, {"/d/gone", "/d/x", "/d/v", "/d/y", "/d/z"},
         {true, true, true, false, true});
    fake.fs.failOn(FsOp::ResetAttributes, "/d/x", FaultyFileSystem::permissionDenied());
    form.SetFileAttrib();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    for (const std::string& p : files) {
        EXPECT_EQ(fake.fs.readOnly(p), p == "/d/x" || p == "/d/y") << p;
    }
}

using ListReportTest = FormFixture;

TEST_F(ListReportTest, ListFileLineForLineBeforeAnyScanAndAfterOneAndTheScanReport) {
    const std::string header =
        "Scourix 1.51\r\n列表文件保存于12-05-2026 22:30:15\r\n-----------------\r\n";
    const std::string trailer = "----------------------\r\n保存文件结束!\r\n";
    form.ViewInfo("empty.txt");
    EXPECT_EQ(fake.fs.content("/home/user/empty.txt"),
              header + "\r\n\r\n找到的文件：\r\n" + trailer);
    state.sFindPlaces = "查找位置\r\n    /\r\n";
    state.sFindTypes = "查找的文件类型：\r\n    *.tmp\r\n    *.bak\r\n";
    fill(fake.lstFound, {"/a.tmp", "/work/报告.bak", "/bad\xe9\n.tmp"}, {false, true});
    form.ViewInfo("/home/user/list.txt");
    EXPECT_EQ(fake.fs.content("/home/user/list.txt"),
              header +
                  "查找位置\r\n    /\r\n\r\n查找的文件类型：\r\n    *.tmp\r\n    *.bak\r\n\r\n"
                  "找到的文件：\r\n    /a.tmp\r\n    /work/报告.bak\r\n    /bad\\xE9\\n.tmp\r\n" +
                  trailer);
    EXPECT_EQ(fake.shell.openedTextFiles, (Texts{"empty.txt", "/home/user/list.txt"}));
    EXPECT_TRUE(fake.window.infoWindows.empty());
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    fake.shell.outcome = OpenOutcome::OpenerMissing;
    form.ViewInfo("again.txt");
    EXPECT_EQ(takeBoxes(fake.dialogs).size(), 1u) << "a box when no opener can start";
    // The scan report, before any scan of the temporary folder, in the current folder.
    form.ViewInfo("查找结果信息");
    EXPECT_EQ(fake.window.lastInfo().text, fake.fs.content("/home/user/查找结果信息"));
    EXPECT_EQ(fake.shell.openedTextFiles.size(), 3u);
    // One that cannot be written is not shown.
    fake.fs.failOn(FsOp::WriteText, "/tmp/查找结果信息", FaultyFileSystem::permissionDenied());
    state.sTempPath = "/tmp/";
    form.ViewInfo("/tmp/查找结果信息");
    EXPECT_EQ(takeBoxes(fake.dialogs),
              Texts{"写入文件时发生错误。\r\n\r\n/tmp/查找结果信息\r\nPermission denied|16|错误"});
    EXPECT_EQ(fake.window.infoWindows.size(), 1u);
}

TEST_F(ListReportTest, SaveAddsTxtUnlessADotIsInTheLastFiveCharactersAndNeverReplaces) {
    fake.fs.addFile("/home/user/old.txt", "keep");
    fake.fs.addFile("/home/user/.hidden.txt", "keep too");
    fake.fs.addSpecial("/home/user/pipe.txt");
    form.mSaveList_Click();  // Cancel
    EXPECT_EQ(inputTexts(fake.dialogs), Texts{"请输入文件名: \r\n当前的目录位置为 [/home/user ]|"
                                              "保存列表到文件|查找2026_12_05_2230.txt"});
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
    // Wildcards in the name part find files as a search does, not folders; a name that
    // finds none is a name like any other.
    fake.fs.addFolder("/home/user/sub/dir.log");
    for (const std::string typed : {"*.txt", "O?D.TXT", "/home/user/*.*"}) {
        fake.dialogs.inputs = {typed};
        form.mSaveList_Click();
        EXPECT_EQ(lastBox(), "保存文件失败，" + typed + "已经存在！|16|保存列表到文件");
    }
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 10);
    EXPECT_EQ(fake.dialogs.boxes.size(), 6u);
    fake.dialogs.inputs = {"sub/*.log"};
    form.mSaveList_Click();
    EXPECT_EQ(fake.shell.openedTextFiles.back(), "sub/*.log");
}

TEST(RenameTest, RenamesTheCurrentFileInItsFolder) {
    // The current entry, the answer; the name offered, the box, the entry after.
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
             // Typed as names are shown: escapes decoded, any other backslash kept; the
             // name shown, typed again, is the name itself.
             Row{5, "x\\\\y2.tmp", "x\\y.tmp", "", "/d/x\\y2.tmp"},
             Row{5, "\\u202Ex\\q\\t.tmp", "x\\y.tmp", "", "/d/\u202Ex\\q\t.tmp"},
             Row{5, "x\\\\y.tmp", "x\\y.tmp", "", "/d/x\\y.tmp"},
         }) {
        SCOPED_TRACE(r.typed);
        FakePlatform fake;
        MainForm form{fake.platform()};
        fake.fs.addFile("/d/sub/b.tmp");
        fake.fs.addFile("/d/b.tmp", "B");
        for (const char* name : {"/d/a.tmp", "/d/.h.tmp", "/d/ lead.tmp", "/d/x\\y.tmp"}) {
            fake.fs.addFile(name, "A");
        }
        fake.fs.addFolder("/d/gone.tmp");  // a folder in the gone file's place stays as it is
        Texts texts{"/d/b.tmp",  "/d/a.tmp",     "/d/gone.tmp",
                    "/d/.h.tmp", "/d/ lead.tmp", "/d/x\\y.tmp"};
        fill(fake.lstFound, texts, Ticks(6, true));
        fake.lstFound.current = r.current;
        fake.dialogs.inputs = {r.typed};
        form.mRename_Click();

        EXPECT_EQ(inputTexts(fake.dialogs),
                  r.current < 0 ? Texts{} : Texts{"请输入新的文件名:|改名|" + r.offered});
        EXPECT_EQ(takeBoxes(fake.dialogs), r.box.empty() ? Texts{} : Texts{r.box});
        texts[std::max<std::ptrdiff_t>(r.current, 0)] = r.entry;
        EXPECT_EQ(fake.lstFound.texts(), texts);
        EXPECT_EQ(fake.lstFound.checks(), std::vector<bool>(6, true));
        if (r.current >= 0 && r.current != 2) {
            EXPECT_EQ(fake.fs.content(r.entry), "A");
            EXPECT_EQ(fake.fs.exists("/d/" + r.offered), r.entry == "/d/" + r.offered);
        }
        EXPECT_EQ(fake.fs.content("/d/b.tmp"), "B");
        EXPECT_TRUE(std::filesystem::is_directory(fake.fs.real("/d/gone.tmp")));
    }
}

}  // namespace
}  // namespace scourix
