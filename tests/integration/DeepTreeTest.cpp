#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "DiskForm.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using test::DiskForm;

constexpr int kLevels = 20000;

// Makes kLevels nested folders "d" below root one openat at a time, since the whole path
// is far longer than the kernel takes at once; bottom.tmp lies at the bottom.
void buildDeepTree(const std::string& root) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < kLevels; ++i) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    const int file = ::openat(fd, "bottom.tmp", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, "12345", 5), 5);
    ::close(file);
    ::close(fd);
}

// Goes down to the bottom, then back up through "..", removing each level on the way.
void removeDeepTree(const std::string& root) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    int depth = 0;
    for (int next; (next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY)) >= 0; ++depth) {
        ::close(fd);
        fd = next;
    }
    for (; depth > 0; --depth) {
        ::unlinkat(fd, "bottom.tmp", 0);
        const int up = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = up;
        ::unlinkat(fd, "d", AT_REMOVEDIR);
    }
    ::close(fd);
}

// A tree 20,000 levels deep: the scan reaches its bottom, and the file found there can be
// measured, renamed and deleted like any other.
TEST(DeepTreeTest, ScanAndFileOperationsReachTheBottom) {
    test::TempFolder dir("/dev/shm");  // 40,000 folder changes: memory is quicker than disk
    buildDeepTree(dir.path());
    DiskForm disk(dir.path());
    disk.scan(dir.path(), "*.tmp");
    auto& fake = disk.fake;
    auto& fs = disk.fs;

    ASSERT_EQ(fake.dialogs.boxes.size(), 1u) << fake.dialogs.boxes[0].text;
    ASSERT_EQ(fake.lstFound.count(), 1u);
    const std::string bottom = fake.lstFound.text(0);
    EXPECT_EQ(bottom.size(), dir.path().size() + 2 * kLevels + 11);
    EXPECT_EQ(fake.controls.caption("lblInfo"), "找到 1个文件，共5 字节。");
    ASSERT_TRUE(fs.renameNoReplace(bottom, bottom + ".del"));
    ASSERT_TRUE(fs.renameNoReplace(bottom + ".del", bottom));
    fake.lstFound.setChecked(0, true);
    fake.dialogs.answers = {mb::kIdYes, mb::kIdNo};
    disk.form.cmdKill_Click();
    EXPECT_EQ(fake.lstFound.count(), 0u);
    EXPECT_EQ(fs.lookup(bottom, Lookup::WithHiddenAndSystem).value(), "");

    removeDeepTree(dir.path());
}

}  // namespace
}  // namespace scourix
