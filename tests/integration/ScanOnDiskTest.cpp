#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemError.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;

// The procedures over the real file system in a temporary folder, with fakes for the
// window.
class ScanOnDiskTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    FakePlatform fake;
    PosixFileSystem fs{dir.path()};
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
    MainState& state = form.state();

    ScanOnDiskTest() {
        dir.file("a.tmp", "12345");
        dir.file("B.TMP");
        dir.file(".h.tmp", "333");
        dir.file("\xff\xfe.tmp", "xy");
        dir.file("keep.txt");
        dir.fifo("fifo.tmp");
        dir.link("link.tmp", "a.tmp");
        dir.folder("sub");
        dir.file("sub/y.tmp", "1");
        dir.link("dirlink.tmp", "sub");
        dir.link("up", dir.path());
        dir.folder(".hidden_dir");
        dir.file(".hidden_dir/x.tmp", "abc");
        fake.lstPat.setTexts({"*.tmp"});
        fake.lstPat.setChecked(0, true);
    }

    std::string at(const std::string& name) const { return dir / name; }
};

TEST_F(ScanOnDiskTest, WalksARealTree) {
    const std::string missing = at("missing");
    fake.lstDrive.setTexts({dir.path() + "/", missing, "临时文件夹"});
    fake.lstDrive.setChecked(0, true);
    fake.lstDrive.setChecked(1, true);
    fake.dialogs.answers = {mb::kIdAbort, mb::kIdNo};
    form.cmdFind_Click();
    ASSERT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_EQ(fake.dialogs.boxes[0].text, systemError(ENOENT).description + ".\r\n" + missing);

    // Links are files of their own, the link back up is not followed, the hidden folder
    // is entered, the hidden file and the FIFO stay out.
    const Texts expected = {at("a.tmp"),    at("B.TMP"),        at("dirlink.tmp"),
                            at("link.tmp"), at("\xff\xfe.tmp"), at(".hidden_dir/x.tmp"),
                            at("sub/y.tmp")};
    EXPECT_EQ(fake.lstFound.texts(), expected);
    // Links count with their own length: "a.tmp" and "sub".
    EXPECT_EQ(fake.controls.caption("lblInfo"), "找到 7个文件，共19 字节。");

    // With both boxes unticked the hidden file and the FIFO are found; the FIFO is
    // counted, then dropped as a system file.
    fake.controls.setValue("chkHideFile", 0);
    fake.controls.setValue("chkSystemFile", 0);
    fake.lstDrive.setChecked(1, false);
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFind_Click();
    EXPECT_EQ(fake.controls.caption("lblInfo"), "找到 9个文件，共22 字节。");
    EXPECT_EQ(fake.lstFound.text(0), at(".h.tmp"));
    EXPECT_EQ(fake.lstFound.count(), 8u);
}

TEST_F(ScanOnDiskTest, ScanReportInTheTemporaryFolder) {
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    ::setenv("TMPDIR", dir.path().c_str(), 1);
    fake.lstDrive.setTexts({"/nowhere", "临时文件夹"});
    fake.lstDrive.setChecked(1, true);
    fake.dialogs.answers = {mb::kIdYes};
    form.cmdFind_Click();
    old ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");

    EXPECT_EQ(state.sTempPath, dir.path() + "/");
    const auto& info = fake.window.lastInfo();
    EXPECT_EQ(info.heading, "查找结果信息");
    EXPECT_NE(
        info.text.find("查找位置\r\n    临时文件夹\r\n\r\n查找的文件类型：\r\n    *.tmp\r\n\r\n"
                       "找到的文件：\r\n    " +
                       at("a.tmp") + "\r\n"),
        std::string::npos);
    EXPECT_TRUE(test::exists(at("查找结果信息")));
}

}  // namespace
}  // namespace scourix
