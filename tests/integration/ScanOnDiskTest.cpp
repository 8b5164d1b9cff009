#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>

#include "DiskForm.h"

namespace scourix {
namespace {

using test::Texts;

// A scan over a real tree: links are files of their own, counted with their own length and
// never followed, and names are found by their exact bytes (so that they can be deleted)
// and written into the report each on one visible line.
TEST(ScanOnDiskTest, ListsLinksAndOddNamesByTheirExactBytes) {
    test::TempFolder dir;
    dir.file("a.tmp", "12345");
    dir.file("\xff\xfe.tmp", "xy");
    dir.file("a\nb.tmp", "1");
    dir.file("c\rd\x01.tmp", "22");
    dir.fifo("fifo.tmp");
    dir.link("link.tmp", "a.tmp");
    dir.folder(".hidden_dir");
    dir.file(".hidden_dir/x\t.tmp", "abc");
    dir.link("dirlink.tmp", ".hidden_dir");
    test::DiskForm disk(dir.path());
    EXPECT_EQ(disk.scan({dir.path() + "/"}),
              (Texts{dir / "a\nb.tmp", dir / "a.tmp", dir / "c\rd\x01.tmp", dir / "dirlink.tmp",
                     dir / "link.tmp", dir / "\xff\xfe.tmp", dir / ".hidden_dir/x\t.tmp"}));
    EXPECT_EQ(disk.summary(), "找到 7个文件，共29 字节。");

    const std::string report = dir / "report.txt";
    disk.form.ViewInfo(report);
    const std::string text = disk.fs.readText(report).value();
    for (const char* line :
         {"/a\\nb.tmp\r\n", "/c\\rd\\x01.tmp\r\n", "/.hidden_dir/x\\t.tmp\r\n"}) {
        EXPECT_NE(text.find(dir.path() + line), std::string::npos) << line;
    }
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // no line end but CR LF

    for (const std::string& path : disk.fake.lstFound.texts()) {
        EXPECT_TRUE(disk.fs.removeFile(path)) << path;
    }
}

constexpr int kLevels = 20000;
constexpr int kSideEvery = 1000;

// Makes kLevels nested folders "d" below root one openat at a time, since the whole path
// is far longer than the kernel takes at once; bottom.tmp lies at the bottom, and every
// kSideEvery levels a folder "e" beside "d" holds side.tmp, so the walk has to come back up
// to each of them.
void buildDeepTree(const std::string& root) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    const auto here = [&] { return "/proc/self/fd/" + std::to_string(fd); };
    for (int i = 0; i < kLevels; ++i) {
        if (i % kSideEvery == kSideEvery - 1) {
            ASSERT_EQ(::mkdirat(fd, "e", 0755), 0);
            test::TempFolder::write(here() + "/e/side.tmp", "12345");
        }
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    test::TempFolder::write(here() + "/bottom.tmp", "12345");
    ::close(fd);
}

// A tree 20,000 levels deep: the scan reaches its bottom and every folder beside the way
// with no more descriptors than a usual limit allows, reading ahead on several threads or
// on the window's thread alone (which climbs back by ".." to the folders it had to close);
// the file found at the bottom can be measured, renamed and deleted like any other.
TEST(DeepTreeTest, ScanAndFileOperationsReachTheBottom) {
    test::TempFolder dir("/dev/shm");  // 40,000 folder changes: memory is quicker than disk
    buildDeepTree(dir.path());
    test::DiskForm disk(dir.path());
    auto& fake = disk.fake;
    rlimit saved{};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    const rlimit usual{1024, saved.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &usual);
    for (unsigned threads : {4u, 1u}) {
        disk.form.state().scanThreads = threads;
        fake.dialogs.boxes.clear();
        const test::Texts found = disk.scan({dir.path()});
        ASSERT_EQ(fake.dialogs.boxes.size(), 1u)
            << threads << ": " << fake.dialogs.boxes[0].text.substr(0, 80);
        ASSERT_EQ(found.size(), 1u + kLevels / kSideEvery) << threads << " threads";
        EXPECT_EQ(found[0].size(), dir.path().size() + 2 * kLevels + 11);
        EXPECT_EQ(found.back().size(), dir.path().size() + 2 * (kSideEvery - 1) + 11);
        EXPECT_TRUE(found.back().ends_with("/d/e/side.tmp"));
        EXPECT_EQ(disk.summary(), "找到 21个文件，共105 字节。");
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);

    const std::string bottom = fake.lstFound.text(0);
    ASSERT_TRUE(disk.fs.renameNoReplace(bottom, bottom + ".del"));
    ASSERT_TRUE(disk.fs.renameNoReplace(bottom + ".del", bottom));
    fake.lstFound.setChecked(0, true);
    fake.dialogs.answers = {mb::kIdYes, mb::kIdNo};
    disk.form.cmdKill_Click();
    EXPECT_EQ(fake.lstFound.count(), 20u);
    EXPECT_EQ(disk.fs.lookup(bottom, Lookup::WithHiddenAndSystem).value(), "");

    // Removal by the full path would go beyond its bound; rm walks down by descriptors.
    EXPECT_EQ(std::system(("rm -rf " + dir / "d").c_str()), 0);
}

}  // namespace
}  // namespace scourix
