// Deleting, renaming and clearing read-only on real files: links are acted on themselves,
// names are exact bytes, nothing is ever replaced, and read-only files are refused even
// when the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempFolder.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using test::contentOf;
using test::exists;
using test::modeOf;
using test::TempFolder;

TEST(PosixRemoveFile, RemovesFilesLinksAndNonUtf8Names) {
    TempFolder dir;
    const std::string target = dir.file("target", "keep me");
    const std::string link = dir.link("link.tmp", target);
    const std::string dangling = dir.link("dangling.tmp", dir / "nowhere");
    const std::string odd = dir.file(std::string("\xb2\xe2\xca\xd4\xff.tmp"), "x");
    const std::string pipe = dir.fifo("pipe.tmp");
    PosixFileSystem fs;

    for (const std::string& p : {link, dangling, odd, pipe}) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(fs.removeFile(p));
        EXPECT_FALSE(exists(p));
    }
    EXPECT_EQ(contentOf(target), "keep me");
}

TEST(PosixRemoveFile, RefusesReadOnlyFilesFoldersAndMissingFiles) {
    TempFolder dir;
    const std::string readOnly = dir.file("ro.tmp", "data");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    const std::string folder = dir.folder("sub.tmp");
    PosixFileSystem fs;

    Status ro = fs.removeFile(readOnly);
    ASSERT_FALSE(ro);
    EXPECT_EQ(ro.error().code, EACCES);
    EXPECT_EQ(ro.error().description, "Permission denied");
    EXPECT_EQ(contentOf(readOnly), "data");

    Status sub = fs.removeFile(folder);
    ASSERT_FALSE(sub);
    EXPECT_EQ(sub.error().code, EISDIR);
    EXPECT_TRUE(exists(folder));

    Status missing = fs.removeFile(dir / "gone.tmp");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ENOENT);

    // A link to a read-only file is not read-only itself.
    const std::string link = dir.link("ro.lnk", readOnly);
    EXPECT_TRUE(fs.removeFile(link));
    EXPECT_TRUE(exists(readOnly));
}

TEST(PosixRenameNoReplace, RenamesAndNeverReplaces) {
    TempFolder dir;
    const std::string a = dir.file("B.BAK", "new contents");
    const std::string b = dir.file("B.BAK.del", "old contents");
    PosixFileSystem fs;

    Status refused = fs.renameNoReplace(a, b);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, EEXIST);
    EXPECT_EQ(refused.error().description, "File exists");
    EXPECT_EQ(contentOf(a), "new contents");
    EXPECT_EQ(contentOf(b), "old contents");

    const std::string odd = dir / std::string("\xff\xfe.tmp");
    ASSERT_TRUE(fs.renameNoReplace(a, odd));
    EXPECT_FALSE(exists(a));
    EXPECT_EQ(contentOf(odd), "new contents");
    ASSERT_TRUE(fs.renameNoReplace(odd, odd + ".del"));
    EXPECT_EQ(contentOf(odd + ".del"), "new contents");

    // A case-only change is a different name here.
    const std::string lower = dir.file("case.tmp", "c");
    ASSERT_TRUE(fs.renameNoReplace(lower, dir / "CASE.TMP"));
    EXPECT_EQ(contentOf(dir / "CASE.TMP"), "c");

    EXPECT_EQ(fs.renameNoReplace(dir / "gone", dir / "gone.del").error().code, ENOENT);
}

TEST(PosixRenameNoReplace, RenamesALinkNotItsTarget) {
    TempFolder dir;
    const std::string target = dir.file("target", "t");
    const std::string link = dir.link("link.tmp", target);
    PosixFileSystem fs;
    ASSERT_TRUE(fs.renameNoReplace(link, link + ".del"));
    EXPECT_FALSE(exists(link));
    EXPECT_TRUE(S_ISLNK(modeOf(link + ".del")));
    EXPECT_EQ(contentOf(target), "t");

    // A link onto an existing name is refused like any file.
    const std::string other = dir.link("other.tmp", target);
    EXPECT_EQ(fs.renameNoReplace(other, target).error().code, EEXIST);
    EXPECT_TRUE(S_ISLNK(modeOf(other)));
    EXPECT_TRUE(S_ISREG(modeOf(target)));
}

TEST(PosixResetAttributes, GivesTheOwnerWriteAndLeavesLinksAlone) {
    TempFolder dir;
    const std::string readOnly = dir.file("ro.tmp", "data");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    const std::string target = dir.file("target", "t");
    ASSERT_EQ(::chmod(target.c_str(), 0400), 0);
    const std::string link = dir.link("link.tmp", target);
    const std::string pipe = dir.fifo("pipe.tmp");
    ASSERT_EQ(::chmod(pipe.c_str(), 0444), 0);
    PosixFileSystem fs;

    ASSERT_TRUE(fs.resetAttributes(readOnly).value());
    EXPECT_EQ(modeOf(readOnly) & 07777, 0644u);
    EXPECT_EQ(contentOf(readOnly), "data");
    // Now it can go.
    EXPECT_TRUE(fs.removeFile(readOnly));

    (void)fs.resetAttributes(link);
    EXPECT_EQ(modeOf(target) & 07777, 0400u);
    (void)fs.resetAttributes(pipe);
    EXPECT_EQ(modeOf(pipe) & 07777, 0444u);

    // Neither opened nor an error: a file that cannot be opened is passed over.
    for (const std::string& p : {link, pipe, dir / "gone"}) {
        EXPECT_FALSE(fs.resetAttributes(p).value());
    }
}

}  // namespace
}  // namespace scourix
