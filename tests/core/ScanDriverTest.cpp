#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

class ScanDriverTest : public FormFixture {
protected:
    ScanDriverTest() {
        fake.fs.addFile("/data/a.tmp", "12345");
        fake.fs.addFile("/data/b.bak", "1");
        fake.fs.addFile("/data/c.old", "22");
        fake.fs.addFile("/other/o.tmp");
        fake.fs.addFile("/tmp/t.tmp", "4444");
        fake.lstDrive.setTexts({"/data", "/other", "临时文件夹"});
        fake.lstDrive.setChecked(0, true);
        fake.lstPat.setTexts({"*.bak", "*.old", "*.tmp"});
        fake.lstPat.setChecked(1, true);
        fake.lstPat.setChecked(2, true);
        fake.dialogs.answers = {mb::kIdNo};
    }
};

TEST_F(ScanDriverTest, RefusalsLeaveTheListsButStillCheckTheResults) {
    for (const std::string refusal : {"没有选定查找的位置。", "没有选定任何一种类型。"}) {
        fake.lstDrive.setChecked(0, refusal != "没有选定查找的位置。");
        fake.lstPat.setAllChecked(false);
        fake.lstFound.setTexts({"/data/a.tmp", "/data/gone.tmp", "/other/o.tmp"});
        fake.lstFound.setAllChecked(true);
        fake.controls.setValue("chkSelAll", 1);
        form.cmdFind_Click();
        EXPECT_EQ(lastBox(), refusal + "|16|查找");
        // Clearing the select-all box unticked the results; only the entry whose file
        // has gone is removed.
        EXPECT_EQ(fake.controls.value("chkSelAll"), 0);
        EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/a.tmp", "/other/o.tmp"}));
        EXPECT_EQ(fake.lstFound.checkedTexts(), Texts{});
    }
    EXPECT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_EQ(fake.fs.callCount(FsOp::OpenFolder), 0);
    EXPECT_EQ(state.sFindPlaces, "");
}

TEST_F(ScanDriverTest, WhileTheWalkRunsOnlyStopIsOfferedAndNothingElseStartsOrCloses) {
    state.startUpDone = true;
    fake.dialogs.answers = {mb::kIdOk, mb::kIdOk, mb::kIdNo};
    const auto expectScanning = [&](bool scanning) {
        EXPECT_EQ(fake.controls.enabled("cmdFind"), !scanning);
        EXPECT_EQ(fake.controls.enabled("lstPat"), !scanning);
        EXPECT_EQ(fake.controls.enabled("cmdStopFind"), scanning);
        EXPECT_EQ(fake.controls.enabled("mStopFind"), scanning);
        EXPECT_EQ(fake.controls.focused, scanning ? "cmdStopFind" : "cmdFind");
        EXPECT_EQ(state.bStop, !scanning);
        EXPECT_EQ(fake.window.pointer(), scanning ? kPointerHourglass : kPointerDefault);
    };
    int passes = 0;
    fake.window.onDoEvents = [&] {
        // Closing is refused from the pass before the walk on.
        EXPECT_TRUE(form.Form_Unload());
        if (++passes == 2) {  // the walk of /data, over the ticked patterns only
            EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.old", "*.tmp"}));
            expectScanning(true);
            form.cmdFind_Click();  // as a command that SetEn leaves enabled would
        }
    };
    form.mFind_Click();
    EXPECT_EQ(passes, 2);
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/c.old", "/data/a.tmp"}));
    EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.bak", "*.old", "*.tmp"}));
    EXPECT_EQ(fake.lstPat.checks(), (Ticks{false, true, true}));
    expectScanning(false);
    EXPECT_FALSE(state.scanActive);
    EXPECT_EQ(state.sFindPlaces, "查找位置\r\n    /data\r\n");
    EXPECT_EQ(state.sFindTypes, "查找的文件类型：\r\n    *.old\r\n    *.tmp\r\n");
}

TEST_F(ScanDriverTest, TemporaryFolderFirstAndReportOnYes) {
    fake.lstDrive.setAllChecked(true);
    fake.dialogs.answers = {mb::kIdYes};
    form.cmdFind_Click();
    EXPECT_EQ(fake.lstFound.texts(),
              (Texts{"/tmp/t.tmp", "/data/c.old", "/data/a.tmp", "/other/o.tmp"}));
    EXPECT_EQ(state.sFindPlaces, "查找位置\r\n    /data\r\n    /other\r\n    临时文件夹\r\n");
    EXPECT_EQ(fake.controls.caption("lblInfo"), "找到 4个文件，共11 字节。");
    EXPECT_EQ(
        lastBox(),
        "找到 4个文件，共11 字节。\r\n是否要查看详细信息？\r\n\r\n共找到 4 个文件。|68|查找完成");
    const auto& info = fake.window.lastInfo();
    EXPECT_EQ(info.heading, "查找结果信息");
    EXPECT_EQ(info.text, fake.fs.content("/tmp/查找结果信息"));
    EXPECT_NE(info.text.find("    /tmp/t.tmp\r\n    /data/c.old\r\n"), std::string::npos);
    EXPECT_EQ(info.textColor, kBlue);
    EXPECT_EQ(info.background, kCream);

    // A later scan without the temporary folder keeps its path and writes nothing on No.
    fake.lstDrive.setChecked(2, false);
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFind_Click();
    EXPECT_EQ(state.sTempPath, "/tmp/");
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 1);
}

TEST_F(ScanDriverTest, StopListsTheCurrentFolderInFullAndGroupsTheNumbers) {
    // 1,234 files of 5,678 bytes in all, in one folder; Stop is pressed while it is
    // listed, so it is listed in full and the other location only shown.
    for (int i = 0; i < 1234; ++i) {
        fake.fs.addFile("/big/f" + std::to_string(i) + ".tmp", i == 0 ? "" : "1234");
    }
    fake.fs.setLength("/big/f0.tmp", 5678 - 1233 * 4);
    fake.lstDrive.setTexts({"/big", "/other", "临时文件夹"});
    fake.lstDrive.setAllChecked(true);
    fake.lstDrive.setChecked(2, false);
    fake.window.onDoEvents = [&] {
        if (fake.controls.caption("lblInfo") == "/big") {
            form.mStopFind_Click();
        }
    };
    form.cmdFind_Click();
    EXPECT_EQ(fake.lstFound.count(), 1234u);
    EXPECT_EQ(lastBox(),
              "用户终止!\r\n\r\n找到 1,234个文件，共5,678 字节。\r\n是否要查看详细信息？\r\n\r\n"
              "共找到 1234 个文件。|68|查找完成");
    EXPECT_TRUE(state.bStop);
}

// The checks of the results after a scan.

TEST_F(ScanDriverTest, TotalIsSixtyFourBitsAndCountsDuplicates) {
    constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;
    fake.fs.addFile("/h1");
    fake.fs.addFile("/h2");
    fake.fs.setLength("/h1", 3 * kGiB);
    fake.fs.setLength("/h2", 2 * kGiB);
    fake.lstFound.setTexts({"/h1", "/data/a.tmp", "/h2", "/data/a.tmp"});
    EXPECT_EQ(form.FilesSize(), 5 * kGiB + 10);
}

TEST_F(ScanDriverTest, UnreadableLengthOffersAbortRetryIgnore) {
    struct Run {
        std::vector<int> answers;
        int failures;  // of c.old, after gone.tmp's
        std::uint64_t total;
    };
    for (const Run& r : {Run{{mb::kIdAbort}, 0, 5}, Run{{mb::kIdIgnore}, 0, 7},
                         Run{{mb::kIdIgnore, mb::kIdRetry, mb::kIdRetry}, 2, 7},
                         Run{{mb::kIdIgnore, mb::kIdIgnore}, -1, 5}}) {
        fake.lstFound.setTexts({"/data/a.tmp", "/data/gone.tmp", "/data/c.old"});
        fake.dialogs.boxes.clear();
        fake.dialogs.answers.assign(r.answers.begin(), r.answers.end());
        fake.fs.clearFailures();
        // The first look comes with the others ahead of the adding; Retry looks again.
        if (r.failures != 0) {
            fake.fs.failOn(FsOp::Inspect, "/data/c.old", FaultyFileSystem::permissionDenied(), 1);
            fake.fs.failOn(FsOp::FileLength, "/data/c.old", FaultyFileSystem::permissionDenied(),
                           r.failures - 1);
        }
        EXPECT_EQ(form.FilesSize(), r.total);
        ASSERT_EQ(fake.dialogs.boxes.size(), r.answers.size());
        EXPECT_EQ(fake.dialogs.boxes[0].text,
                  "读取文件长度时发生错误。\r\n\r\n/data/gone.tmp\r\nNo such file or directory");
        EXPECT_EQ(lastBox(), r.answers.size() == 1
                                 ? fake.dialogs.boxes[0].text + "|18|读取文件长度"
                                 : "读取文件长度时发生错误。\r\n\r\n/data/c.old\r\n"
                                   "Permission denied|18|读取文件长度");
    }
}

TEST_F(ScanDriverTest, CheckFilesDropsWhatIsNoLongerAFileInOneUpdate) {
    fake.fs.addFile("/d/.hidden.tmp");
    fake.fs.addFolder("/d/folder.tmp");
    fake.fs.addSpecial("/d/fifo.tmp");
    fake.fs.addLink("/d/link.tmp", "/nowhere");
    fake.fs.addFile("/lost/x.tmp");
    fake.fs.failOn(FsOp::Lookup, "/lost/x.tmp", {EIO, "Input/output error"});
    fake.lstFound.setTexts({"/data/a.tmp", "/d/gone.tmp", "/d/.hidden.tmp", "/d/folder.tmp",
                            "/d/fifo.tmp", "/d/link.tmp", "/lost/x.tmp"});
    for (std::size_t i : {0, 1, 3, 5}) {
        fake.lstFound.setChecked(i, true);
    }
    form.CheckFiles();
    EXPECT_EQ(fake.lstFound.texts(),
              (Texts{"/data/a.tmp", "/d/.hidden.tmp", "/d/link.tmp", "/lost/x.tmp"}));
    EXPECT_EQ(fake.lstFound.checks(), (Ticks{true, false, true, false}));
    EXPECT_EQ(fake.lstFound.repaints, 1);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

}  // namespace
}  // namespace scourix
