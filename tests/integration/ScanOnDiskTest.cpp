#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemError.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

// A scan over the real file system in a temporary folder, with fakes for the window:
// links are files of their own and never followed, hidden folders are entered, names
// that are not UTF-8 are found by their bytes, and a missing location offers Abort.
TEST(ScanOnDiskTest, WalksARealTree) {
    test::TempFolder dir;
    dir.file("a.tmp", "12345");
    dir.file("B.TMP");
    dir.file(".h.tmp", "333");
    dir.file("\xff\xfe.tmp", "xy");
    dir.fifo("fifo.tmp");
    dir.link("link.tmp", "a.tmp");
    dir.folder("sub");
    dir.file("sub/y.tmp", "1");
    dir.link("dirlink.tmp", "sub");
    dir.link("up", dir.path());
    dir.folder(".hidden_dir");
    dir.file(".hidden_dir/x.tmp", "abc");
    FakePlatform fake;
    PosixFileSystem fs{dir.path()};
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
    fake.lstPat.setTexts({"*.tmp"});
    fake.lstPat.setChecked(0, true);
    fake.lstDrive.setTexts({dir.path() + "/", dir / "missing", "临时文件夹"});
    fake.lstDrive.setChecked(0, true);
    fake.lstDrive.setChecked(1, true);
    fake.dialogs.answers = {mb::kIdAbort, mb::kIdNo};
    form.cmdFind_Click();

    EXPECT_EQ(fake.lstFound.texts(),
              (std::vector<std::string>{dir / "a.tmp", dir / "B.TMP", dir / "dirlink.tmp",
                                        dir / "link.tmp", dir / "\xff\xfe.tmp",
                                        dir / ".hidden_dir/x.tmp", dir / "sub/y.tmp"}));
    ASSERT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_EQ(fake.dialogs.boxes[0].text,
              systemError(ENOENT).description + ".\r\n" + dir / "missing");
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
    EXPECT_EQ(fake.lstFound.text(0), dir / ".h.tmp");
    EXPECT_EQ(fake.lstFound.count(), 8u);
}

}  // namespace
}  // namespace scourix
