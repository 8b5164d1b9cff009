// Lookups and folder listings on real folders: which files each filter admits, and the
// flags the walker relies on to stay out of links and virtual file systems.
#include <gtest/gtest.h>

#include <map>

#include "TempFolder.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

TEST(PosixLookup, EachFilterAdmitsItsKindsAndNeverAFolder) {
    test::TempFolder dir;
    dir.file("plain.tmp", "x");
    dir.file(".hidden.tmp", "x");
    dir.fifo("pipe.tmp");
    dir.link("dangling.tmp", dir / "nowhere");
    dir.link("tofolder", dir.folder("sub"));
    dir.link("loop", dir / "loop");
    PosixFileSystem fs;
    // What Ordinary, WithHidden and WithHiddenAndSystem find; a link is found as itself,
    // even when it leads nowhere or to a folder.
    const std::map<std::string, std::string> cases = {
        {"plain.tmp", "OHS"},    {".hidden.tmp", "-HS"},    {"pipe.tmp", "--S"},
        {"dangling.tmp", "OHS"}, {"tofolder", "OHS"},       {"sub", "---"},
        {"missing.tmp", "---"},  {"plain.tmp/below", "---"}};
    for (const auto& [name, found] : cases) {
        std::string got;
        for (auto [filter, mark] : {std::pair{Lookup::Ordinary, 'O'},
                                    {Lookup::WithHidden, 'H'},
                                    {Lookup::WithHiddenAndSystem, 'S'}}) {
            got += fs.lookup(dir / name, filter).value().empty() ? '-' : mark;
        }
        EXPECT_EQ(got, found) << name;
    }
    // A looping path is an error, not absence.
    EXPECT_EQ(fs.lookup(dir / "loop/x", Lookup::WithHiddenAndSystem).error().code, ELOOP);
}

TEST(PosixListFolder, ReportsEveryEntryWithItsFlagsAndTheFolderItself) {
    test::TempFolder dir;
    const std::string longName(120, 'n');
    for (int i = 0; i < 1000; ++i) {  // enough to need several reads of the kernel's listing
        dir.file(longName + std::to_string(i));
    }
    dir.file(".hidden");
    dir.file("bad\xff\xfe name.tmp");
    dir.fifo("pipe");
    dir.folder("sub");
    dir.folder(".hiddensub");
    dir.link("tosub", dir / "sub");
    PosixFileSystem fs;

    const auto listing = fs.listFolder(dir.path());
    ASSERT_TRUE(listing) << listing.error().description;
    EXPECT_EQ(listing.value().path, dir.path());
    struct stat st {};
    ASSERT_EQ(::stat(dir.path().c_str(), &st), 0);
    EXPECT_EQ(listing.value().device, st.st_dev);
    EXPECT_EQ(listing.value().inode, st.st_ino);
    EXPECT_FALSE(listing.value().virtualFileSystem);
    std::map<std::string, std::string> flags;
    for (const FolderEntry& e : listing.value().entries) {
        flags[e.name] =
            std::string(e.isFolder ? "F" : "-") + (e.hidden ? "H" : "-") + (e.system ? "S" : "-");
    }
    EXPECT_EQ(listing.value().entries.size(), 1006u);  // each once, no "." or ".."
    EXPECT_EQ(flags[longName + "999"], "---");
    EXPECT_EQ(flags[".hidden"], "-H-");
    EXPECT_EQ(flags["bad\xff\xfe name.tmp"], "---");
    EXPECT_EQ(flags["pipe"], "--S");
    EXPECT_EQ(flags["sub"], "F--");
    EXPECT_EQ(flags[".hiddensub"], "FH-");
    EXPECT_EQ(flags["tosub"], "---");  // a link to a folder is never a folder

    // A link given as the folder itself is followed and keeps its path.
    dir.file("sub/a.tmp");
    const auto viaLink = fs.listFolder(dir / "tosub");
    ASSERT_TRUE(viaLink);
    EXPECT_EQ(viaLink.value().path, dir / "tosub");
    EXPECT_EQ(viaLink.value().entries.size(), 1u);

    EXPECT_EQ(fs.listFolder(dir / "missing").error().description, "No such file or directory");
    EXPECT_EQ(fs.listFolder(dir / ".hidden").error().code, ENOTDIR);
    EXPECT_FALSE(fs.probe(dir / "missing"));
    EXPECT_TRUE(fs.probe(dir.path()));
}

TEST(PosixListFolder, MarksKernelFileSystemsButNotOrdinaryOnes) {
    PosixFileSystem fs;
    struct stat st {};
    for (const char* place : {"/proc", "/sys", "/dev/pts", "/dev"}) {
        // /dev is devtmpfs on most systems and a plain tmpfs in some containers.
        if (::stat(place, &st) == 0 &&
            (place != std::string("/dev") ||
             MountTable::current().typeOfDevice(st.st_dev) == "devtmpfs")) {
            EXPECT_TRUE(fs.listFolder(place).value().virtualFileSystem) << place;
        }
    }
    EXPECT_FALSE(fs.listFolder(fs.tempFolder()).value().virtualFileSystem);
}

// The user's settings folder, made on demand; a folder counts as writable only when a file
// can really be made there (root passes permission bits, not a missing folder).
TEST(PosixSettingsFolder, FollowsXdgAndIsMadeWhenMissing) {
    test::TempFolder dir;
    PosixFileSystem fs;
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(fs.userConfigFolder(), dir.path() + "/scourix");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(fs.userConfigFolder().ends_with("/.config/scourix"));
    const std::string nested = dir / "a/b/scourix";
    EXPECT_FALSE(fs.canWriteIn(nested));
    ASSERT_TRUE(fs.makeFolders(nested));
    EXPECT_TRUE(fs.canWriteIn(nested));
    EXPECT_FALSE(fs.canWriteIn("/proc/self"));
}

}  // namespace
}  // namespace scourix
