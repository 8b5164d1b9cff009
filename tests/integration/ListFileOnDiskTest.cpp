#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <string>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemError.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

// The system's own converter, as an independent reference for code page 936.
std::string toGbk(const std::string& utf8) {
    iconv_t cd = ::iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("no GBK converter");
    }
    std::string in = utf8;
    std::string out(in.size() * 2 + 16, '\0');
    char* src = in.data();
    char* dst = out.data();
    std::size_t srcLeft = in.size();
    std::size_t dstLeft = out.size();
    const std::size_t rc = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    ::iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) {
        throw std::runtime_error("not convertible: " + utf8);
    }
    out.resize(out.size() - dstLeft);
    return out;
}

class ListFileOnDiskTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    FakePlatform fake;
    PosixFileSystem fs{dir.path()};
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
    MainState& state = form.state();

    ListFileOnDiskTest() {
        fake.clock.time = {2026, 3, 9, 8, 5, 1};
        state.sFindPlaces = "查找位置\r\n    /数据/\r\n";
        state.sFindTypes = "查找的文件类型：\r\n    *.tmp\r\n";
        fake.lstFound.setTexts({"/数据/临时.tmp", "/数据/\xff\xfe.tmp"});
    }
};

TEST_F(ListFileOnDiskTest, SavedAsCodePage936WithCrLf) {
    const std::string path = dir / "列表.txt";
    fake.dialogs.inputs = {path};
    form.mSaveList_Click();
    // A name that is not UTF-8 keeps its bytes.
    const std::string expected =
        toGbk(
            "Scourix 1.51\r\n列表文件保存于03-09-2026 08:05:01\r\n-----------------\r\n"
            "查找位置\r\n    /数据/\r\n\r\n查找的文件类型：\r\n    *.tmp\r\n\r\n"
            "找到的文件：\r\n    /数据/临时.tmp\r\n    /数据/") +
        "\xff\xfe" + toGbk(".tmp\r\n----------------------\r\n保存文件结束!\r\n");
    EXPECT_EQ(test::contentOf(path), expected);
    EXPECT_EQ(fake.shell.openedTextFiles, std::vector<std::string>{path});
    EXPECT_TRUE(fake.dialogs.boxes.empty());

    // Saving again under that name, or over a hidden file, is refused; both stay as
    // they were.
    const std::string hidden = dir.file(".saved.txt", "\xb2\xe2");
    fake.lstFound.clear();
    fake.dialogs.inputs = {path, hidden};
    form.mSaveList_Click();
    form.mSaveList_Click();
    EXPECT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_EQ(test::contentOf(path), expected);
    EXPECT_EQ(test::contentOf(hidden), "\xb2\xe2");
    EXPECT_EQ(fake.shell.openedTextFiles.size(), 1u);
}

TEST_F(ListFileOnDiskTest, AFailedWriteLeavesNoPartialFile) {
    for (int i = 0; i < 500; ++i) {
        fake.lstFound.append("/数据/一个相当长的文件夹名称/文件" + std::to_string(i) + ".tmp");
    }
    const std::string missingFolder = dir / "none/list.txt";
    const std::string tooBig = dir / "big.txt";
    fake.dialogs.inputs = {missingFolder, tooBig};
    form.mSaveList_Click();

    // A file size limit makes the write stop part way.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    form.mSaveList_Click();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(fake.dialogs.boxes.size(), 2u);
    EXPECT_EQ(fake.dialogs.boxes[0].text.rfind("写入文件时发生错误。\r\n\r\n" + missingFolder, 0),
              0u);
    EXPECT_EQ(fake.dialogs.boxes[1].text,
              "写入文件时发生错误。\r\n\r\n" + tooBig + "\r\n" + systemError(EFBIG).description);
    EXPECT_FALSE(test::exists(missingFolder));
    EXPECT_FALSE(test::exists(tooBig));
    EXPECT_TRUE(fake.shell.openedTextFiles.empty());
}

}  // namespace
}  // namespace scourix
