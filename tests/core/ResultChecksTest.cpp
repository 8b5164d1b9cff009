#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;

class ResultChecksTest : public FormFixture {
protected:
    ResultChecksTest() {
        fake.fs.addFile("/d/a.tmp", std::string(100, 'a'));
        fake.fs.addFile("/d/b.tmp", std::string(2000, 'b'));
        fake.lstFound.setTexts({"/d/a.tmp", "/d/gone.tmp", "/d/b.tmp"});
    }
};

TEST_F(ResultChecksTest, TotalIsSixtyFourBitsAndCountsDuplicates) {
    fake.fs.addFile("/d/huge1");
    fake.fs.addFile("/d/huge2");
    fake.fs.setLength("/d/huge1", 3 * kGiB);
    fake.fs.setLength("/d/huge2", 2 * kGiB);
    fake.lstFound.setTexts({"/d/huge1", "/d/a.tmp", "/d/huge2", "/d/a.tmp"});
    EXPECT_EQ(form.FilesSize(), 5 * kGiB + 200);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(ResultChecksTest, UnreadableLengthOffersAbortRetryIgnore) {
    struct Run {
        std::vector<int> answers;
        int failures;  // of b.tmp, after gone.tmp's
        std::uint64_t total;
    };
    for (const Run& r : {Run{{mb::kIdAbort}, 0, 100}, Run{{mb::kIdIgnore}, 0, 2100},
                         Run{{mb::kIdIgnore, mb::kIdRetry, mb::kIdRetry}, 2, 2100},
                         Run{{mb::kIdIgnore, mb::kIdIgnore}, -1, 100}}) {
        fake.dialogs.boxes.clear();
        fake.dialogs.answers.assign(r.answers.begin(), r.answers.end());
        fake.fs.clearFailures();
        fake.fs.failOn(FsOp::FileLength, "/d/b.tmp", FakeFileSystem::permissionDenied(),
                       r.failures);
        EXPECT_EQ(form.FilesSize(), r.total);
        ASSERT_EQ(fake.dialogs.boxes.size(), r.answers.size());
        EXPECT_EQ(fake.dialogs.boxes[0].text,
                  "读取文件长度时发生错误。\r\n\r\n/d/gone.tmp\r\nNo such file or directory");
        EXPECT_EQ(fake.dialogs.boxes[0].flags, 18);
        EXPECT_EQ(fake.dialogs.boxes[0].title, "读取文件长度");
        if (r.answers.size() > 1) {
            EXPECT_EQ(fake.dialogs.boxes[1].text,
                      "读取文件长度时发生错误。\r\n\r\n/d/b.tmp\r\nPermission denied");
        }
    }
}

TEST_F(ResultChecksTest, CheckFilesDropsWhatIsNoLongerAFileInOneUpdate) {
    fake.fs.addFile("/d/.hidden.tmp");
    fake.fs.addFolder("/d/folder.tmp");
    fake.fs.addSpecial("/d/fifo.tmp");
    fake.fs.addLink("/d/link.tmp", "/nowhere");
    fake.fs.addFile("/lost/x.tmp");
    fake.fs.failOn(FsOp::Lookup, "/lost/x.tmp", {EIO, "Input/output error"});
    fake.lstFound.setTexts({"/d/a.tmp", "/d/gone.tmp", "/d/.hidden.tmp", "/d/folder.tmp",
                            "/d/fifo.tmp", "/d/link.tmp", "/lost/x.tmp", "/d/b.tmp"});
    for (std::size_t i : {0, 1, 3, 5, 7}) {
        fake.lstFound.setChecked(i, true);
    }
    form.CheckFiles();
    EXPECT_EQ(fake.lstFound.texts(),
              (Texts{"/d/a.tmp", "/d/.hidden.tmp", "/d/link.tmp", "/lost/x.tmp", "/d/b.tmp"}));
    EXPECT_EQ(fake.lstFound.checks(), (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(fake.lstFound.repaints, 1);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

}  // namespace
}  // namespace scourix
