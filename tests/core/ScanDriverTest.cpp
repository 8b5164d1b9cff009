#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;

class ScanDriverTest : public FormFixture {
protected:
    ScanDriverTest() {
        fake.fs.addFile("/data/a.tmp", "12345");
        fake.fs.addFile("/data/b.bak", "1");
        fake.fs.addFile("/data/c.old", "22");
        fake.fs.addFile("/data/.h.tmp", "333");
        fake.fs.addSpecial("/data/fifo.tmp");
        fake.fs.addFile("/other/o.tmp");
        fake.fs.addFile("/tmp/t.tmp", "4444");
        fake.lstDrive.setTexts({"/data", "/other", "临时文件夹"});
        fake.lstDrive.setChecked(0, true);
        fake.lstPat.setTexts({"*.bak", "*.old", "*.tmp"});
        fake.lstPat.setChecked(1, true);
        fake.lstPat.setChecked(2, true);
        fake.dialogs.answers = {mb::kIdNo};
    }

    const FakeDialogs::Box& lastBox() const { return fake.dialogs.boxes.back(); }
};

TEST_F(ScanDriverTest, RefusalsLeaveTheListsButStillCheckTheResults) {
    for (const char* refusal : {"没有选定查找的位置。", "没有选定任何一种类型。"}) {
        const bool noLocation = refusal == std::string("没有选定查找的位置。");
        fake.lstDrive.setChecked(0, !noLocation);
        fake.lstPat.setAllChecked(false);
        fake.lstFound.setTexts({"/data/a.tmp", "/data/gone.tmp", "/other/o.tmp"});
        fake.lstFound.setAllChecked(true);
        fake.controls.setValue("chkSelAll", 1);
        fake.dialogs.boxes.clear();

        form.cmdFind_Click();
        ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
        EXPECT_EQ(lastBox().text, refusal);
        EXPECT_EQ(lastBox().flags, 16);
        EXPECT_EQ(lastBox().title, "查找");
        // The select-all box was cleared, which unticked the results; only the entry
        // whose file has gone is removed.
        EXPECT_EQ(fake.controls.value("chkSelAll"), 0);
        EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/a.tmp", "/other/o.tmp"}));
        EXPECT_EQ(fake.lstFound.checks(), (std::vector<bool>{false, false}));
        EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.bak", "*.old", "*.tmp"}));
        EXPECT_EQ(fake.fs.callCount(FsOp::ListFolder), 0);
        EXPECT_TRUE(state.bStop);
        EXPECT_EQ(state.sFindPlaces, "");
    }
}

TEST_F(ScanDriverTest, WindowStateDuringAndAfterTheWalk) {
    state.startUpDone = true;
    fake.dialogs.answers = {mb::kIdOk, mb::kIdNo};
    // Scanning: the commands off, the two stop commands on with the focus.
    const auto expectScanning = [&](bool scanning) {
        EXPECT_EQ(fake.controls.enabled("cmdFind"), !scanning);
        EXPECT_EQ(fake.controls.enabled("lstPat"), !scanning);
        EXPECT_EQ(fake.controls.enabled("cmdStopFind"), scanning);
        EXPECT_EQ(fake.controls.enabled("mStopFind"), scanning);
        EXPECT_EQ(fake.controls.focused, scanning ? "cmdStopFind" : "cmdFind");
        EXPECT_EQ(state.bStop, !scanning);
        EXPECT_EQ(fake.window.pointer(), scanning ? kPointerHourglass : kPointerDefault);
    };
    int walkerPasses = 0;
    fake.window.onDoEvents = [&] {
        if (fake.controls.caption("lblInfo") != "/data") {
            return;  // the pass before the walk
        }
        ++walkerPasses;
        EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.old", "*.tmp"}));
        EXPECT_EQ(fake.lstPat.checks(), (std::vector<bool>{true, true}));
        expectScanning(true);
        // Closing is refused while the walk runs.
        EXPECT_TRUE(form.Form_Unload());
    };
    form.mFind_Click();
    EXPECT_EQ(walkerPasses, 1);
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/c.old", "/data/a.tmp"}));
    EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.bak", "*.old", "*.tmp"}));
    EXPECT_EQ(fake.lstPat.checks(), (std::vector<bool>{false, true, true}));
    expectScanning(false);
    EXPECT_FALSE(state.scanActive);
    EXPECT_EQ(state.sFindPlaces, "查找位置\r\n    /data\r\n");
    EXPECT_EQ(state.sFindTypes, "查找的文件类型：\r\n    *.old\r\n    *.tmp\r\n");
    EXPECT_EQ(state.sTempPath, "");
}

TEST_F(ScanDriverTest, TemporaryFolderFirstAndReportOnYes) {
    fake.lstDrive.setAllChecked(true);
    fake.dialogs.answers = {mb::kIdYes};
    form.cmdFind_Click();
    EXPECT_EQ(fake.lstFound.texts(),
              (Texts{"/tmp/t.tmp", "/data/c.old", "/data/a.tmp", "/other/o.tmp"}));
    EXPECT_EQ(state.sTempPath, "/tmp/");
    EXPECT_EQ(state.sFindPlaces, "查找位置\r\n    /data\r\n    /other\r\n    临时文件夹\r\n");

    const std::string summary = "找到 4个文件，共11 字节。";
    EXPECT_EQ(fake.controls.caption("lblInfo"), summary);
    EXPECT_EQ(lastBox().text, summary + "\r\n是否要查看详细信息？\r\n\r\n共找到 4 个文件。");
    EXPECT_EQ(lastBox().flags, 68);
    EXPECT_EQ(lastBox().title, "查找完成");

    const std::string report = fake.fs.content("/tmp/查找结果信息");
    EXPECT_NE(report.find("    /tmp/t.tmp\r\n    /data/c.old\r\n"), std::string::npos);
    const auto& info = fake.window.lastInfo();
    EXPECT_EQ(info.heading, "查找结果信息");
    EXPECT_EQ(info.text, report);
    EXPECT_EQ(info.textColor, kBlue);
    EXPECT_EQ(info.background, kCream);
    EXPECT_TRUE(fake.shell.openedTextFiles.empty());

    // A later scan without the temporary folder keeps its path and writes nothing on No.
    fake.lstDrive.setChecked(2, false);
    state.sTempPath = "/tmp/";
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFind_Click();
    EXPECT_EQ(state.sTempPath, "/tmp/");
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 1);
}

TEST_F(ScanDriverTest, StoppedSummaryWithGroupedNumbers) {
    // 1,234 files of 5,678 bytes in all, in one folder; Stop is pressed while it is
    // listed, so it is listed in full and the other location only shown.
    for (int i = 0; i < 1234; ++i) {
        const std::string path = "/big/f" + std::to_string(i) + ".tmp";
        fake.fs.addFile(path);
        fake.fs.setLength(path, i == 0 ? 5678 - 1233 * 4 : 4);
    }
    fake.lstDrive.setTexts({"/big", "/other", "临时文件夹"});
    fake.lstDrive.setChecked(0, true);
    fake.lstDrive.setChecked(1, true);
    fake.window.onDoEvents = [&] {
        if (fake.controls.caption("lblInfo") == "/big") {
            form.mStopFind_Click();
        }
    };
    form.cmdFind_Click();
    EXPECT_EQ(fake.lstFound.count(), 1234u);
    EXPECT_EQ(lastBox().text,
              "用户终止!\r\n\r\n找到 1,234个文件，共5,678 字节。\r\n是否要查看详细信息？\r\n\r\n"
              "共找到 1234 个文件。");
    EXPECT_TRUE(state.bStop);
    EXPECT_EQ(fake.window.infoWindows.size(), 0u);
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 0);

    // Nothing found: zeros, and no stop notice.
    fake.window.onDoEvents = nullptr;
    fake.lstPat.setTexts({"*.none"});
    fake.lstPat.setChecked(0, true);
    form.cmdFind_Click();
    EXPECT_EQ(lastBox().text,
              "找到 0个文件，共0 字节。\r\n是否要查看详细信息？\r\n\r\n共找到 0 个文件。");
}

TEST_F(ScanDriverTest, CheckBoxesKeepWhatTheySayOut) {
    // Ticked (the start-up state): hidden and system files stay out.
    form.cmdFind_Click();
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/c.old", "/data/a.tmp"}));
    // Unticked: both are found; the FIFO counts in the summary, then the check drops it.
    fake.controls.setValue("chkHideFile", 0);
    fake.controls.setValue("chkSystemFile", 0);
    form.cmdFind_Click();
    EXPECT_EQ(fake.controls.caption("lblInfo"), "找到 4个文件，共10 字节。");
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/c.old", "/data/.h.tmp", "/data/a.tmp"}));
}

TEST_F(ScanDriverTest, NoSecondScanInsideARunningOne) {
    state.startUpDone = true;
    fake.dialogs.answers = {mb::kIdOk, mb::kIdOk, mb::kIdNo};
    int passes = 0;
    fake.window.onDoEvents = [&] {
        // The first pass comes before the walk: closing must already be refused.
        EXPECT_TRUE(form.Form_Unload());
        if (++passes == 2) {
            form.cmdFind_Click();  // as a command that SetEn leaves enabled would
        }
    };
    form.cmdFind_Click();
    EXPECT_EQ(passes, 2);
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/c.old", "/data/a.tmp"}));
    EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.bak", "*.old", "*.tmp"}));
    EXPECT_FALSE(state.scanActive);
}

}  // namespace
}  // namespace scourix
