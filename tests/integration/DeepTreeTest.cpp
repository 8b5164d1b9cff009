#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "DiskForm.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using test::DiskForm;

constexpr int kLevels = 2000;
const std::string kLevel = "level";

// Makes (or removes) kLevels nested folders below root one openat at a time, since the
// whole path is far longer than the kernel takes at once.
void buildDeepTree(const std::string& root) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < kLevels; ++i) {
        ASSERT_EQ(::mkdirat(fd, kLevel.c_str(), 0755), 0);
        const int next = ::openat(fd, kLevel.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    const int file = ::openat(fd, "bottom.tmp", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, "12345", 5), 5);
    ::close(file);
    ::close(fd);
}

void removeDeepTree(int parent, int depth) {
    const int fd = ::openat(parent, kLevel.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return;
    }
    if (depth + 1 < kLevels) {
        removeDeepTree(fd, depth + 1);
    }
    ::unlinkat(fd, "bottom.tmp", 0);
    ::unlinkat(fd, "bottom.tmp.del", 0);
    ::close(fd);
    ::unlinkat(parent, kLevel.c_str(), AT_REMOVEDIR);
}

// A tree 2,000 levels deep: the scan reaches its bottom, and the file found there can be
// measured, renamed and deleted like any other.
TEST(DeepTreeTest, ScanAndFileOperationsReachTheBottom) {
    test::TempFolder dir;
    buildDeepTree(dir.path());
    DiskForm disk(dir.path());
    disk.scan(dir.path(), "*.tmp");
    auto& fake = disk.fake;
    auto& fs = disk.fs;

    ASSERT_EQ(fake.dialogs.boxes.size(), 1u) << fake.dialogs.boxes[0].text;
    ASSERT_EQ(fake.lstFound.count(), 1u);
    const std::string bottom = fake.lstFound.text(0);
    EXPECT_GT(bottom.size(), 4096u);
    EXPECT_EQ(fake.controls.caption("lblInfo"), "找到 1个文件，共5 字节。");
    EXPECT_EQ(fs.lookup(bottom, Lookup::Ordinary).value(), "bottom.tmp");
    ASSERT_TRUE(fs.renameNoReplace(bottom, bottom + ".del"));
    ASSERT_TRUE(fs.renameNoReplace(bottom + ".del", bottom));
    ASSERT_TRUE(fs.removeFile(bottom));
    EXPECT_EQ(fs.lookup(bottom, Lookup::WithHiddenAndSystem).value(), "");

    const int root = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    removeDeepTree(root, 0);
    ::close(root);
}

}  // namespace
}  // namespace scourix
