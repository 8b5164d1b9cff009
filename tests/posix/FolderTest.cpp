// Lookups and folder listings on real folders: which files each filter admits, and the
// flags the walker relies on to stay out of links and virtual file systems.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "TempFolder.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using test::TempFolder;

struct LookupCase {
    std::string name;
    std::string ordinary, withHidden, withHiddenAndSystem;
};

TEST(PosixLookup, EachFilterAdmitsItsKindsAndNeverAFolder) {
    TempFolder dir;
    dir.file("plain.tmp", "x");
    dir.file(".hidden.tmp", "x");
    dir.fifo("pipe.tmp");
    dir.link("link.tmp", dir / "plain.tmp");
    dir.link("dangling.tmp", dir / "nowhere");
    dir.link("tofolder", dir.folder("sub"));
    PosixFileSystem fs;

    const LookupCase cases[] = {
        {"plain.tmp", "plain.tmp", "plain.tmp", "plain.tmp"},
        {".hidden.tmp", "", ".hidden.tmp", ".hidden.tmp"},
        {"pipe.tmp", "", "", "pipe.tmp"},
        // A link is found as itself, even when it leads nowhere or to a folder.
        {"link.tmp", "link.tmp", "link.tmp", "link.tmp"},
        {"dangling.tmp", "dangling.tmp", "dangling.tmp", "dangling.tmp"},
        {"tofolder", "tofolder", "tofolder", "tofolder"},
        {"sub", "", "", ""},
        {"missing.tmp", "", "", ""},
        {"plain.tmp/below", "", "", ""},  // ENOTDIR counts as nothing there
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir / c.name;
        auto ordinary = fs.lookup(path, Lookup::Ordinary);
        auto hidden = fs.lookup(path, Lookup::WithHidden);
        auto all = fs.lookup(path, Lookup::WithHiddenAndSystem);
        ASSERT_TRUE(ordinary && hidden && all);
        EXPECT_EQ(ordinary.value(), c.ordinary);
        EXPECT_EQ(hidden.value(), c.withHidden);
        EXPECT_EQ(all.value(), c.withHiddenAndSystem);
    }
}

TEST(PosixLookup, ALoopingPathIsAnErrorNotAbsence) {
    TempFolder dir;
    dir.link("loop", dir / "loop");
    PosixFileSystem fs;
    auto found = fs.lookup(dir / "loop/x", Lookup::WithHiddenAndSystem);
    ASSERT_FALSE(found);
    EXPECT_EQ(found.error().code, ELOOP);
    EXPECT_FALSE(found.error().description.empty());
}

TEST(PosixListFolder, ReportsEveryEntryWithItsFlags) {
    TempFolder dir;
    const std::string nonUtf8 = std::string("bad\xff\xfe name.tmp");
    dir.file("plain.tmp", "12345");
    dir.file(".hidden");
    dir.file(nonUtf8);
    dir.fifo("pipe");
    dir.folder("sub");
    dir.folder(".hiddensub");
    dir.link("tosub", dir / "sub");
    dir.link("dangling", dir / "nowhere");
    PosixFileSystem fs;

    auto listing = fs.listFolder(dir.path());
    ASSERT_TRUE(listing) << listing.error().description;
    EXPECT_EQ(listing.value().path, dir.path());
    EXPECT_FALSE(listing.value().virtualFileSystem);
    struct stat st {};
    ASSERT_EQ(::stat(dir.path().c_str(), &st), 0);
    EXPECT_EQ(listing.value().device, st.st_dev);
    EXPECT_EQ(listing.value().inode, st.st_ino);

    std::map<std::string, FolderEntry> byName;
    for (const FolderEntry& e : listing.value().entries) {
        EXPECT_TRUE(byName.emplace(e.name, e).second) << "listed twice: " << e.name;
    }
    ASSERT_EQ(byName.size(), 8u);  // no "." or ".."
    auto flags = [&](const std::string& name) {
        const FolderEntry& e = byName.at(name);
        return std::string(e.isFolder ? "F" : "-") + (e.hidden ? "H" : "-") +
               (e.system ? "S" : "-");
    };
    EXPECT_EQ(flags("plain.tmp"), "---");
    EXPECT_EQ(flags(".hidden"), "-H-");
    EXPECT_EQ(flags(nonUtf8), "---");  // found by its exact bytes
    EXPECT_EQ(flags("pipe"), "--S");
    EXPECT_EQ(flags("sub"), "F--");
    EXPECT_EQ(flags(".hiddensub"), "FH-");
    EXPECT_EQ(flags("tosub"), "---");  // a link to a folder is never a folder
    EXPECT_EQ(flags("dangling"), "---");
}

TEST(PosixListFolder, FollowsALinkGivenAsTheFolderItself) {
    TempFolder dir;
    dir.folder("real");
    dir.file("real/a.tmp");
    const std::string link = dir.link("typed", dir / "real");
    PosixFileSystem fs;
    auto listing = fs.listFolder(link);
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing.value().path, link);
    ASSERT_EQ(listing.value().entries.size(), 1u);
    EXPECT_EQ(listing.value().entries[0].name, "a.tmp");
}

TEST(PosixListFolder, ReadsLargeFoldersWhole) {
    TempFolder dir;
    // Enough long names to need several reads of the kernel's listing.
    const std::string longName(120, 'n');
    for (int i = 0; i < 1000; ++i) {
        dir.file(longName + std::to_string(i));
    }
    PosixFileSystem fs;
    auto listing = fs.listFolder(dir.path() + "/");
    ASSERT_TRUE(listing);
    EXPECT_EQ(listing.value().entries.size(), 1000u);
}

TEST(PosixListFolder, FailsWithTheSystemsReason) {
    TempFolder dir;
    const std::string file = dir.file("file");
    PosixFileSystem fs;
    auto missing = fs.listFolder(dir / "missing");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ENOENT);
    EXPECT_EQ(missing.error().description, "No such file or directory");
    auto notFolder = fs.listFolder(file);
    ASSERT_FALSE(notFolder);
    EXPECT_EQ(notFolder.error().code, ENOTDIR);
    EXPECT_FALSE(fs.probe(dir / "missing"));
    EXPECT_TRUE(fs.probe(dir.path()));
}

TEST(PosixListFolder, MarksKernelFileSystemsButNotOrdinaryOnes) {
    PosixFileSystem fs;
    struct stat st {};
    for (const char* place : {"/proc", "/sys", "/dev/pts"}) {
        if (::stat(place, &st) != 0) {
            continue;
        }
        SCOPED_TRACE(place);
        auto listing = fs.listFolder(place);
        ASSERT_TRUE(listing);
        EXPECT_TRUE(listing.value().virtualFileSystem);
    }
    // /dev is devtmpfs on most systems and a plain tmpfs in some containers.
    if (MountTable::current().typeOfDevice((::stat("/dev", &st), st.st_dev)) == "devtmpfs") {
        auto dev = fs.listFolder("/dev");
        ASSERT_TRUE(dev);
        EXPECT_TRUE(dev.value().virtualFileSystem);
    }
    auto tmp = fs.listFolder(fs.tempFolder());
    ASSERT_TRUE(tmp);
    EXPECT_FALSE(tmp.value().virtualFileSystem);
}

TEST(PosixFileLength, IsTheFilesOwnLengthAndALinksOwn) {
    TempFolder dir;
    const std::string file = dir.file("f", std::string(70000, 'x'));
    const std::string target = dir / "f";
    const std::string link = dir.link("l", target);
    PosixFileSystem fs;
    ASSERT_TRUE(fs.fileLength(file));
    EXPECT_EQ(fs.fileLength(file).value(), 70000u);
    EXPECT_EQ(fs.fileLength(link).value(), target.size());
    EXPECT_EQ(fs.fileLength(dir / "none").error().code, ENOENT);
}

}  // namespace
}  // namespace scourix
