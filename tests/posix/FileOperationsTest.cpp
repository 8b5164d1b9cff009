// Deleting, renaming and clearing read-only on real files: links are acted on themselves,
// names are exact bytes, nothing is ever replaced, and read-only files are refused even
// when the tests run as root.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using test::contentOf;
using test::exists;
using test::modeOf;

TEST(PosixRemoveFile, RemovesLinksFifosAndNonUtf8NamesButRefusesReadOnlyFiles) {
    test::TempFolder dir;
    const std::string target = dir.file("target", "keep me");
    const std::string readOnly = dir.file("ro.tmp", "data");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    PosixFileSystem fs;
    // A link to a read-only file is not read-only itself.
    for (const std::string& p : {dir.link("link.tmp", target), dir.link("ro.lnk", readOnly),
                                 dir.link("dangling.tmp", dir / "nowhere"),
                                 dir.file("\xb2\xe2\xca\xd4\xff.tmp", "x"), dir.fifo("pipe.tmp")}) {
        EXPECT_TRUE(fs.removeFile(p)) << p;
        EXPECT_FALSE(exists(p)) << p;
    }
    EXPECT_EQ(contentOf(target), "keep me");

    const Status ro = fs.removeFile(readOnly);
    ASSERT_FALSE(ro);
    EXPECT_EQ(ro.error().code, EACCES);
    EXPECT_EQ(ro.error().description, "Permission denied");
    EXPECT_EQ(contentOf(readOnly), "data");
    EXPECT_EQ(fs.removeFile(dir.folder("sub.tmp")).error().code, EISDIR);
    EXPECT_TRUE(exists(dir / "sub.tmp"));
    EXPECT_EQ(fs.removeFile(dir / "gone.tmp").error().code, ENOENT);
}

TEST(PosixRenameNoReplace, NeverReplacesAndRenamesALinkNotItsTarget) {
    test::TempFolder dir;
    const std::string a = dir.file("B.BAK", "new contents");
    const std::string b = dir.file("B.BAK.del", "old contents");
    PosixFileSystem fs;
    const Status refused = fs.renameNoReplace(a, b);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, EEXIST);
    EXPECT_EQ(refused.error().description, "File exists");
    EXPECT_EQ(contentOf(a), "new contents");
    EXPECT_EQ(contentOf(b), "old contents");

    const std::string odd = dir / "\xff\xfe.tmp";
    ASSERT_TRUE(fs.renameNoReplace(a, dir / "b.bak"));  // a case-only change is another name
    ASSERT_TRUE(fs.renameNoReplace(dir / "b.bak", odd));
    EXPECT_FALSE(exists(a));
    EXPECT_EQ(contentOf(odd), "new contents");
    EXPECT_EQ(fs.renameNoReplace(dir / "gone", dir / "gone.del").error().code, ENOENT);

    const std::string link = dir.link("link.tmp", b);
    ASSERT_TRUE(fs.renameNoReplace(link, link + ".del"));
    EXPECT_TRUE(S_ISLNK(modeOf(link + ".del")));
    EXPECT_EQ(fs.renameNoReplace(link + ".del", b).error().code, EEXIST);
    EXPECT_EQ(contentOf(b), "old contents");
    EXPECT_TRUE(S_ISREG(modeOf(b)));
}

TEST(PosixResetAttributes, GivesTheOwnerWriteAndPassesOverWhatItCannotOpen) {
    test::TempFolder dir;
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
    EXPECT_TRUE(fs.removeFile(readOnly));
    // Neither opened nor an error: links, FIFOs and missing files are left as they are.
    for (const std::string& p : {link, pipe, dir / "gone"}) {
        EXPECT_FALSE(fs.resetAttributes(p).value()) << p;
    }
    EXPECT_EQ(modeOf(target) & 07777, 0400u);
    EXPECT_EQ(modeOf(pipe) & 07777, 0444u);
}

}  // namespace
}  // namespace scourix
