#include <cerrno>
#include <tuple>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Boxes = std::vector<std::tuple<std::string, int, std::string>>;

// The boxes shown since the last call.
Boxes shown(FakeDialogs& dialogs) {
    Boxes boxes;
    for (const FakeDialogs::Box& b : dialogs.boxes) {
        boxes.emplace_back(b.text, b.flags, b.title);
    }
    dialogs.boxes.clear();
    return boxes;
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
        EXPECT_EQ(shown(fake.dialogs), (Boxes{{"没有选取任何文件。", 16, t[0]}}));

        fake.lstFound.setAllChecked(true);
        fake.lstFound.setChecked(2, false);
        const std::string confirm = t[1] + "4 个文件?";
        fake.dialogs.answers = {mb::kIdNo};
        (form.*click)();
        EXPECT_EQ(shown(fake.dialogs), (Boxes{{confirm, 308, t[2]}}));
        EXPECT_EQ(fake.window.pointers, (std::vector<int>{11, 0}));
        EXPECT_EQ(fake.window.doEventsCalls, 1);
        EXPECT_EQ(fake.lstFound.texts(), all);

        // The file that was gone leaves without a line; so does the one whose look failed.
        fake.dialogs.answers = {mb::kIdYes, mb::kIdNo, mb::kIdYes};
        (form.*click)();
        EXPECT_EQ(shown(fake.dialogs),
                  (Boxes{{confirm, 308, t[2]},
                         {t[4], 52, t[5]},
                         {"选中的文件中有 " + std::string(rename ? "1" : "2") + " 个文件" + t[6] +
                              "\r\n\r\n是否要查看更详细的错误信息?",
                          20, "错误"}}));
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
        EXPECT_EQ(shown(fake.dialogs).size(), 2u);
        EXPECT_EQ(fake.lstFound.count(), 0u);
        EXPECT_FALSE(fake.fs.exists("/d/a.tmp") || fake.fs.exists("/d/b\xff.tmp"));
        EXPECT_EQ(fake.fs.exists("/d/b\xff.tmp.del"), rename);
        EXPECT_EQ(fake.window.pointer(), kPointerDefault);
        EXPECT_EQ(fake.window.infoWindows.size(), 1u);
    }
}

// The reset asks nothing: a failed change goes unnoticed and the deletion that follows
// reports the file. Unticked files and those that cannot be changed stay read-only.
TEST(DeletionTest, AttributeResetGivesWriteToTheTickedFilesWithoutAWord) {
    FakePlatform fake;
    MainForm form{fake.platform()};
    const Texts files{"/d/x", "/d/v", "/d/y", "/d/z"};
    for (const std::string& p : files) {
        fake.fs.addFile(p, "", true);
    }
    fake.lstFound.setTexts({"/d/gone", "/d/x", "/d/v", "/d/y", "/d/z"});
    fake.lstFound.setAllChecked(true);
    fake.lstFound.setChecked(3, false);
    fake.fs.failOn(FsOp::ResetAttributes, "/d/x", FaultyFileSystem::permissionDenied());
    form.SetFileAttrib();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    for (const std::string& p : files) {
        EXPECT_EQ(fake.fs.node(p)->readOnly, p == "/d/x" || p == "/d/y") << p;
    }
}

}  // namespace
}  // namespace scourix
