#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Boxes = std::vector<std::tuple<std::string, int, std::string>>;
const std::string kHeaderRule = std::string(37, '-') + "\r\n";

Boxes shown(FakeDialogs& dialogs) {
    Boxes boxes;
    for (const FakeDialogs::Box& b : dialogs.boxes) {
        boxes.emplace_back(b.text, b.flags, b.title);
    }
    dialogs.boxes.clear();
    return boxes;
}

// What tells the two commands apart, as the user sees it.
struct Command {
    void (MainForm::*click)();
    bool temporary;
    // Texts of the boxes in order, the report's header and the end of the last question.
    Texts t;
};
const Command kKill{
    &MainForm::mKill_Click, false,
    Texts{"删除文件", "真的要永久性删除选定的 3 个文件?", "永久性删除文件", "删除文件操作：(",
          "如果含有只读文件，是否删除？", "删除只读文件", "无法删除！"}};
const Command kDeltmp{
    &MainForm::cmdDeltmp_Click, true,
    Texts{"暂时删除文件", "真的要重命名(改为*.del)选定的 3 个文件?", "暂时性删除文件",
          "重命名文件操作：(", "如果含有只读文件，是否重命名？", "重命名只读文件", "无法重命名！"}};

// The questions, the report byte for byte, No at the start, read-only with No then Yes.
TEST(DeletionTest, QuestionsAndReportOfBothCommands) {
    for (const Command& cmd : {kKill, kDeltmp}) {
        SCOPED_TRACE(cmd.t[2]);
        FakePlatform fake;
        MainForm form{fake.platform()};
        fake.clock.time = {2005, 1, 2, 3, 4, 5};
        fake.fs.addFile("/d/a.tmp", "a", true);
        fake.fs.addFile("/d/b\xff.tmp", "b");    // not UTF-8: acted on by its bytes
        fake.fs.addFile("/d/c\n\xe9.tmp", "c");  // its report line shows the escapes
        fake.fs.failOn(cmd.temporary ? FsOp::Rename : FsOp::Remove, "/d/c\n\xe9.tmp",
                       {EBUSY, "Device or resource busy"});
        const Texts all{"/d/a.tmp", "/d/gone.tmp", "/d/b\xff.tmp", "/d/c\n\xe9.tmp"};
        fake.lstFound.setTexts(all);
        (form.*cmd.click)();
        EXPECT_EQ(shown(fake.dialogs), (Boxes{{"没有选取任何文件。", 16, cmd.t[0]}}));

        fake.lstFound.setAllChecked(true);
        fake.lstFound.setChecked(2, false);
        fake.dialogs.answers = {mb::kIdNo};
        (form.*cmd.click)();
        EXPECT_EQ(shown(fake.dialogs), (Boxes{{cmd.t[1], 308, cmd.t[2]}}));
        EXPECT_EQ(fake.window.pointers, (std::vector<int>{11, 0}));
        EXPECT_EQ(fake.window.doEventsCalls, 1);
        EXPECT_EQ(fake.lstFound.texts(), all);

        // Read-only answered No: a read-only file cannot be deleted, but it can be renamed.
        // The file that was gone leaves without a line.
        fake.dialogs.answers = {mb::kIdYes, mb::kIdNo, mb::kIdYes};
        (form.*cmd.click)();
        const std::string lines =
            "1\x1a /d/c\\n\\xE9.tmp\x1a[Device or resource busy]\r\n" +
            std::string(cmd.temporary ? "" : "2\x1a /d/a.tmp\x1a[Permission denied]\r\n");
        EXPECT_EQ(shown(fake.dialogs),
                  (Boxes{{cmd.t[1], 308, cmd.t[2]},
                         {cmd.t[4], 52, cmd.t[5]},
                         {"选中的文件中有 " + std::string(cmd.temporary ? "1" : "2") + " 个文件" +
                              cmd.t[6] + "\r\n\r\n是否要查看更详细的错误信息?",
                          20, "错误"}}));
        const auto& info = fake.window.lastInfo();
        EXPECT_EQ(info.text, cmd.t[3] + "01-02-2005 03:04:05)\r\n" + kHeaderRule + lines);
        EXPECT_TRUE(info.heading == "错误信息" && info.textColor == kRed &&
                    info.background == kCream);
        EXPECT_EQ(fake.lstFound.checkedTexts(), cmd.temporary
                                                    ? Texts({"/d/c\n\xe9.tmp"})
                                                    : Texts({"/d/a.tmp", "/d/c\n\xe9.tmp"}));
        EXPECT_EQ(fake.fs.exists("/d/a.tmp.del"), cmd.temporary);

        // Yes resets read-only first; No to the last question shows no report.
        fake.lstFound.setAllChecked(true);
        fake.dialogs.answers = {mb::kIdYes, mb::kIdYes, mb::kIdNo};
        (form.*cmd.click)();
        EXPECT_EQ(fake.lstFound.checkedTexts(), Texts{"/d/c\n\xe9.tmp"});
        EXPECT_FALSE(fake.fs.exists("/d/a.tmp") || fake.fs.exists("/d/b\xff.tmp"));
        EXPECT_EQ(fake.fs.exists("/d/b\xff.tmp.del"), cmd.temporary);
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

// Random trees, ticks, read-only files, failing lookups and answers, with files and their
// ".del" names side by side.
TEST(DeletionTest, RandomRunsTouchOnlyTickedFilesAndKeepTheRestInOrder) {
    std::mt19937 rng(20261205);
    const auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        FakePlatform fake;
        MainForm form{fake.platform()};
        const bool temporary = chance(50);
        std::map<std::string, bool> onDisk;  // path -> read-only
        std::vector<std::string> listed;
        std::set<std::string> ticked;
        for (int k = 0; k < 12; ++k) {
            std::string path = std::string(k < 6 ? "/r/" : "/r/s/") + "ab"[k % 2] + ".tmp";
            path += std::string(".del.del", k / 2 % 3 * 4);
            if (chance(80)) {
                onDisk[path] = chance(25);
                fake.fs.addFile(path, path, onDisk[path]);
            }
            if (chance(60)) {
                listed.push_back(path);
                ticked.insert(chance(50) ? path : "");
            }
            if (chance(5)) {
                fake.fs.failOn(FsOp::Lookup, path, {EIO, "Input/output error"});
            }
        }
        std::shuffle(listed.begin(), listed.end(), rng);
        fake.lstFound.setTexts(listed);
        ticked.erase("");
        for (std::size_t i = 0; i < listed.size(); ++i) {
            fake.lstFound.setChecked(i, ticked.count(listed[i]) == 1);
        }
        const bool confirmed = chance(80);
        fake.dialogs.answers = {confirmed ? mb::kIdYes : mb::kIdNo,
                                chance(50) ? mb::kIdYes : mb::kIdNo};  // then Yes: the report
        (form.*(temporary ? &MainForm::cmdDeltmp_Click : &MainForm::cmdKill_Click))();

        // A ticked file whose entry left has left its name (perhaps taken by another ticked
        // file's ".del" name); every other file is as it was. The list keeps its order.
        const Texts after = fake.lstFound.texts();
        for (const auto& [path, readOnly] : onDisk) {
            const bool tick = confirmed && ticked.count(path);
            const bool went = tick && !std::ranges::count(after, path);
            EXPECT_EQ(fake.fs.exists(path) && fake.fs.content(path) == path, !went) << path;
            EXPECT_TRUE(tick || fake.fs.node(path)->readOnly == readOnly) << path;
        }
        Texts kept = listed;
        std::erase_if(kept, [&](const std::string& p) { return !std::ranges::count(after, p); });
        EXPECT_EQ(after, kept);
        EXPECT_TRUE(fake.window.pointer() == kPointerDefault && fake.lstFound.repaints == 0 &&
                    fake.lstFound.bulkCalls <= 1);
        if (!confirmed || ticked.empty()) {
            EXPECT_EQ(after, listed);
            continue;
        }
        // A ticked entry that stays is still ticked and reported, in the order of the
        // attempts: from the last entry up.
        const std::string report =
            fake.window.infoWindows.empty() ? kHeaderRule : fake.window.lastInfo().text;
        std::size_t at = report.find(kHeaderRule) + kHeaderRule.size();
        int n = 0;
        for (std::size_t i = after.size(); i-- > 0;) {
            const std::string& path = after[i];
            ASSERT_EQ(fake.lstFound.checked(i), ticked.count(path) == 1) << path;
            if (ticked.count(path)) {
                const std::string start = std::to_string(++n) + "\x1a " + path + "\x1a[";
                ASSERT_EQ(report.compare(at, start.size(), start), 0) << report;
                at = report.find("]\r\n", at) + 3;
            }
        }
        EXPECT_EQ(at, report.size());
        EXPECT_EQ(fake.dialogs.boxes.size(), n > 0 ? 3u : 2u);
    }
}

}  // namespace
}  // namespace scourix
