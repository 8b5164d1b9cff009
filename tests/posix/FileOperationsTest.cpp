// Deleting, renaming and clearing read-only on real files, beside the procedures' own
// runs on disk: links are acted on themselves and read-only files are refused even when
// the tests run as root.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using test::exists;
using test::modeOf;

TEST(PosixRemoveFile, RemovesLinksAndFifosButNoReadOnlyFileOrFolder) {
    test::TempFolder dir;
    const std::string readOnly = dir.file("ro.tmp", "data");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    PosixFileSystem fs;
    // A link to a read-only file is not read-only itself.
    for (const std::string& p :
         {dir.link("ro.lnk", readOnly), dir.link("dangling", dir / "none"), dir.fifo("pipe.tmp")}) {
        EXPECT_TRUE(fs.removeFile(p)) << p;
        EXPECT_FALSE(exists(p)) << p;
    }
    EXPECT_EQ(fs.removeFile(readOnly).error().code, EACCES);
    EXPECT_EQ(fs.removeFile(dir.folder("sub.tmp")).error().code, EISDIR);
    EXPECT_EQ(fs.removeFile(dir / "gone.tmp").error().code, ENOENT);
    EXPECT_TRUE(exists(readOnly) && exists(dir / "sub.tmp"));
}

TEST(PosixRenameNoReplace, ACaseOnlyChangeIsAnotherNameAndNoLinkReplacesAFile) {
    test::TempFolder dir;
    const std::string file = dir.file("B.BAK", "b");
    PosixFileSystem fs;
    ASSERT_TRUE(fs.renameNoReplace(file, dir / "b.bak"));
    EXPECT_EQ(test::contentOf(dir / "b.bak"), "b");
    const std::string link = dir.link("link.tmp", dir / "b.bak");
    const Status refused = fs.renameNoReplace(link, dir / "b.bak");
    EXPECT_EQ(refused.error().code, EEXIST);
    EXPECT_EQ(refused.error().description, "File exists");
    EXPECT_TRUE(S_ISLNK(modeOf(link)) && S_ISREG(modeOf(dir / "b.bak")));
    EXPECT_EQ(fs.renameNoReplace(dir / "gone", dir / "gone.del").error().code, ENOENT);
}

TEST(PosixResetAttributes, GivesTheOwnerWriteAndPassesOverWhatItCannotOpen) {
    test::TempFolder dir;
    const std::string readOnly = dir.file("ro.tmp", "data");
    const std::string target = dir.file("target", "t");
    const std::string pipe = dir.fifo("pipe.tmp");
    for (const std::string& p : {readOnly, target, pipe}) {
        ASSERT_EQ(::chmod(p.c_str(), 0444), 0);
    }
    PosixFileSystem fs;
    ASSERT_TRUE(fs.resetAttributes(readOnly).value());
    EXPECT_EQ(modeOf(readOnly) & 07777, 0644u);
    EXPECT_TRUE(fs.removeFile(readOnly));
    // Neither opened nor an error: links, FIFOs and missing files are left as they are.
    for (const std::string& p : {dir.link("link.tmp", target), pipe, dir / "gone"}) {
        EXPECT_FALSE(fs.resetAttributes(p).value()) << p;
    }
    EXPECT_EQ(modeOf(target) & 07777, 0444u);
    EXPECT_EQ(modeOf(pipe) & 07777, 0444u);
}

}  // namespace
}  // namespace scourix
