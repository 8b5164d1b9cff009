#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/GbkCodec.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemError.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

class ListFileOnDiskTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    FakePlatform fake;
    PosixFileSystem fs{dir.path()};
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};

    ListFileOnDiskTest() {
        fake.clock.time = {2026, 3, 9, 8, 5, 1};
        form.state().sFindPlaces = "查找位置\r\n    /数据/\r\n";
        form.state().sFindTypes = "查找的文件类型：\r\n    *.tmp\r\n";
        fake.lstFound.setTexts({"/数据/临时.tmp", "/数据/\xff\xfe.tmp"});
    }
};

TEST_F(ListFileOnDiskTest, SavedAsCodePage936WithCrLfAndNeverOverwritten) {
    const std::string path = dir / "列表.txt";
    fake.dialogs.inputs = {path};
    form.mSaveList_Click();
    // A name that is not UTF-8 keeps its bytes.
    const std::string expected = GbkCodec::encode(
        "Scourix 1.51\r\n列表文件保存于03-09-2026 08:05:01\r\n-----------------\r\n"
        "查找位置\r\n    /数据/\r\n\r\n查找的文件类型：\r\n    *.tmp\r\n\r\n"
        "找到的文件：\r\n    /数据/临时.tmp\r\n    /数据/\xff\xfe.tmp\r\n"
        "----------------------\r\n保存文件结束!\r\n");
    EXPECT_EQ(test::contentOf(path), expected);
    EXPECT_TRUE(fake.dialogs.boxes.empty());

    // Saving again under that name, or over a hidden file, is refused; both stay whole.
    const std::string hidden = dir.file(".saved.txt", "\xb2\xe2");
    fake.lstFound.clear();
    fake.dialogs.inputs = {path, hidden};
    form.mSaveList_Click();
    form.mSaveList_Click();
    EXPECT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_EQ(test::contentOf(path), expected);
    EXPECT_EQ(test::contentOf(hidden), "\xb2\xe2");
    EXPECT_EQ(fake.shell.openedTextFiles, std::vector<std::string>{path});
}

TEST_F(ListFileOnDiskTest, AFailedWriteLeavesNoPartialFile) {
    for (int i = 0; i < 500; ++i) {
        fake.lstFound.append("/数据/一个相当长的文件夹名称/文件" + std::to_string(i) + ".tmp");
    }
    const std::string missingFolder = dir / "none/list.txt";
    const std::string tooBig = dir / "big.txt";
    fake.dialogs.inputs = {missingFolder, tooBig};
    form.mSaveList_Click();
    {
        test::FileSizeLimit full(4096);
        form.mSaveList_Click();
    }
    ASSERT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_TRUE(
        fake.dialogs.boxes[0].text.starts_with("写入文件时发生错误。\r\n\r\n" + missingFolder));
    EXPECT_EQ(fake.dialogs.boxes[1].text,
              "写入文件时发生错误。\r\n\r\n" + tooBig + "\r\n" + systemError(EFBIG).description);
    EXPECT_FALSE(test::exists(missingFolder));
    EXPECT_FALSE(test::exists(tooBig));
    EXPECT_TRUE(fake.shell.openedTextFiles.empty());
}

}  // namespace
}  // namespace scourix
