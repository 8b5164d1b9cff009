#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>

#include "DiskForm.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using test::DiskForm;

constexpr int kLevels = 20000;
constexpr int kSideEvery = 1000;

void makeFile(int folder, const char* name) {
    const int file = ::openat(folder, name, O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, "12345", 5), 5);
    ::close(file);
}

// Makes kLevels nested folders "d" below root one openat at a time, since the whole path
// is far longer than the kernel takes at once; bottom.tmp lies at the bottom, and every
// kSideEvery levels a folder "e" beside "d" holds side.tmp, so the walk has to come back up
// to each of them.
void buildDeepTree(const std::string& root) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < kLevels; ++i) {
        if (i % kSideEvery == kSideEvery - 1) {
            ASSERT_EQ(::mkdirat(fd, "e", 0755), 0);
            const int side = ::openat(fd, "e", O_RDONLY | O_DIRECTORY);
            makeFile(side, "side.tmp");
            ::close(side);
        }
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    makeFile(fd, "bottom.tmp");
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
        ::unlinkat(fd, "e/side.tmp", 0);
        ::unlinkat(fd, "e", AT_REMOVEDIR);
    }
    ::close(fd);
}

// A tree 20,000 levels deep: the scan reaches its bottom and every folder beside the way
// with no more descriptors than a usual limit allows, and the file found at the bottom can
// be measured, renamed and deleted like any other.
TEST(DeepTreeTest, ScanAndFileOperationsReachTheBottom) {
    test::TempFolder dir("/dev/shm");  // 40,000 folder changes: memory is quicker than disk
    buildDeepTree(dir.path());
    DiskForm disk(dir.path());
    rlimit saved{};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    const rlimit usual{1024, saved.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &usual);
    disk.scan(dir.path(), "*.tmp");
    ::setrlimit(RLIMIT_NOFILE, &saved);
    auto& fake = disk.fake;
    auto& fs = disk.fs;

    ASSERT_EQ(fake.dialogs.boxes.size(), 1u) << fake.dialogs.boxes[0].text.substr(0, 80);
    constexpr int kFiles = 1 + kLevels / kSideEvery;
    ASSERT_EQ(fake.lstFound.count(), static_cast<std::size_t>(kFiles));
    const std::string bottom = fake.lstFound.text(0);
    EXPECT_EQ(bottom.size(), dir.path().size() + 2 * kLevels + 11);
    std::string shallowest = dir.path();
    for (int i = 0; i < kSideEvery - 1; ++i) {
        shallowest += "/d";
    }
    EXPECT_EQ(fake.lstFound.text(kFiles - 1), shallowest + "/e/side.tmp");
    EXPECT_EQ(fake.controls.caption("lblInfo"), "找到 " + std::to_string(kFiles) + "个文件，共" +
                                                    std::to_string(5 * kFiles) + " 字节。");
    ASSERT_TRUE(fs.renameNoReplace(bottom, bottom + ".del"));
    ASSERT_TRUE(fs.renameNoReplace(bottom + ".del", bottom));
    fake.lstFound.setChecked(0, true);
    fake.dialogs.answers = {mb::kIdYes, mb::kIdNo};
    disk.form.cmdKill_Click();
    EXPECT_EQ(fake.lstFound.count(), kFiles - 1u);
    EXPECT_EQ(fs.lookup(bottom, Lookup::WithHiddenAndSystem).value(), "");

    removeDeepTree(dir.path());
}

}  // namespace
}  // namespace scourix
