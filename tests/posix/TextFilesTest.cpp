// Text files: GB18030 on disk and UTF-8 in memory, line splitting, and writes that never
// leave a half-written file or destroy the old one, even when the disk fills up.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "TempFolder.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using test::contentOf;
using test::TempFolder;
using Texts = std::vector<std::string>;

const std::string kChinese = "查找结果信息\r\n位置：c:\\，类型 *.tmp。\r\n";
const std::string kChineseGbk =
    "\xb2\xe9\xd5\xd2\xbd\xe1\xb9\xfb\xd0\xc5\xcf\xa2\r\n\xce\xbb\xd6\xc3\xa3\xba"
    "c:\\\xa3\xac\xc0\xe0\xd0\xcd *.tmp\xa1\xa3\r\n";
const std::string kFffd = "\xef\xbf\xbd";

Texts namesIn(const std::string& folder) {
    Texts names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class PosixTextFiles : public ::testing::Test {
protected:
    TempFolder dir;
    PosixFileSystem fs;
};

TEST_F(PosixTextFiles, WritesGb18030AndReadsLinesAtEveryKindOfLineEnd) {
    const std::string path = dir / "report.txt";
    ASSERT_TRUE(fs.writeText(path, kChinese));
    EXPECT_EQ(contentOf(path), kChineseGbk);
    EXPECT_EQ(fs.readText(path).value(), kChinese);
    ASSERT_TRUE(fs.writeText(path, "a\r\n"));  // truncates the longer old file
    EXPECT_EQ(contentOf(path), "a\r\n");

    const std::pair<std::string, Texts> cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"", {}},
        {"\r\n", {""}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\xd6\xd0\xce\xc4 1\r\n\xff\r\n", {"中文 1", kFffd}},
    };
    for (const auto& [bytes, lines] : cases) {
        EXPECT_EQ(fs.readLines(dir.file("lines.ini", bytes)).value(), lines) << bytes;
    }
    EXPECT_EQ(fs.readLines(dir / "missing.ini").error().code, ENOENT);
}

TEST_F(PosixTextFiles, AFailedWriteLeavesNoFileAndAFailedReplaceTheOldFileWhole) {
    const std::string list = dir / "list.txt";
    const std::string types = dir.file("TypeList.ini", "old list\r\n");
    {
        test::FileSizeLimit full(1000);
        EXPECT_EQ(fs.writeText(list, std::string(5000, 'x')).error().code, EFBIG);
        EXPECT_EQ(fs.replaceText(types, std::string(5000, 'x')).error().code, EFBIG);
    }
    EXPECT_EQ(contentOf(types), "old list\r\n");
    EXPECT_EQ(namesIn(dir.path()), Texts{"TypeList.ini"});
    EXPECT_EQ(fs.writeText(dir / "missing/list.txt", "x").error().code, ENOENT);
    EXPECT_EQ(fs.replaceText(dir / "missing/TypeList.ini", "x").error().code, ENOENT);
}

TEST_F(PosixTextFiles, ReplaceKeepsPermissionsAndCreatesNewFiles) {
    const std::string path = dir.file("TypeList.ini", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(fs.replaceText(path, kChinese));
    EXPECT_EQ(contentOf(path), kChineseGbk);
    EXPECT_EQ(test::modeOf(path) & 07777, 0640u);
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(fs.replaceText(dir / "new.ini", "x"));
    ::umask(mask);
    EXPECT_EQ(test::modeOf(dir / "new.ini") & 07777, 0644u);
    EXPECT_EQ(namesIn(dir.path()), (Texts{"TypeList.ini", "new.ini"}));
}

// Renaming over a file succeeds whatever its permission bits, and root passes them all: a
// file its owner made read-only is still not replaced. A link keeps being a link, and the
// file it leads to is replaced, where the rule for links lets it be followed.
TEST_F(PosixTextFiles, ReplaceLeavesAReadOnlyFileAndSavesALinksTargetBesideItself) {
    const std::string list = dir.file("TypeList.ini", "old\r\n");
    ASSERT_EQ(::chmod(list.c_str(), 0444), 0);
    EXPECT_EQ(fs.replaceText(list, "new").error().description, "Permission denied");
    EXPECT_EQ(contentOf(list), "old\r\n");

    dir.folder("real");
    const std::string target = dir.file("real/TypeList.ini", "old\r\n");
    const std::string link = dir.link("linked.ini", target);
    ASSERT_TRUE(fs.replaceText(link, "new"));
    EXPECT_TRUE(S_ISLNK(test::modeOf(link)));
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_EQ(namesIn(dir / "real"), Texts{"TypeList.ini"});
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(link.c_str(), 54321, 54321), 0);
        EXPECT_EQ(fs.replaceText(link, "other").error().description, "Permission denied");
        EXPECT_EQ(contentOf(target), "new");
    }
}

}  // namespace
}  // namespace scourix
