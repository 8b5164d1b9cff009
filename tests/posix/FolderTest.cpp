// Lookups and folder reads on real folders: which files each filter admits, and what the
// walker relies on to stay out of links and virtual file systems.
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

// Every entry of a folder as a walk reads it: name -> kind letter (Folder, File, Link,
// Special).
std::map<std::string, char> entriesOf(const FileSystem& fs, const OpenFolder& folder) {
    struct Collect final : FolderVisitor {
        std::map<std::string, char> seen;
        void entry(std::string_view name, EntryKind kind) override {
            seen[std::string(name)] += "FRLS"[static_cast<int>(kind)];
        }
    } collect;
    EXPECT_TRUE(fs.readFolder(folder, collect));
    return collect.seen;
}

TEST(PosixWalk, ReadsEveryEntryOnceAndOpensSubfoldersButNeverLinks) {
    test::TempFolder dir;
    const std::string longName(120, 'n');
    for (int i = 0; i < 1000; ++i) {  // enough to need several reads of the kernel's listing
        dir.file(longName + std::to_string(i));
    }
    dir.file(".hidden");
    dir.file("bad\xff\xfe name.tmp");
    dir.fifo("pipe");
    dir.folder("sub");
    dir.link("tosub", dir / "sub");
    PosixFileSystem fs;

    const auto folder = fs.openFolder(dir.path());
    ASSERT_TRUE(folder) << folder.error().description;
    struct stat st {};
    ASSERT_EQ(::stat(dir.path().c_str(), &st), 0);
    EXPECT_EQ(folder.value()->id, (FileId{st.st_dev, st.st_ino}));
    EXPECT_FALSE(folder.value()->virtualFileSystem);
    auto seen = entriesOf(fs, *folder.value());
    EXPECT_EQ(seen.size(), 1005u);  // each once, no "." or ".."
    EXPECT_EQ(seen[longName + "999"], 'R');
    EXPECT_EQ(seen["bad\xff\xfe name.tmp"], 'R');
    EXPECT_EQ(seen["pipe"], 'S');
    EXPECT_EQ(seen["sub"], 'F');
    EXPECT_EQ(seen["tosub"], 'L');  // a link to a folder is never a folder

    // Subfolders are opened relative to the folder; a link or a file in a subfolder's place
    // is simply not one.
    dir.file("sub/a.tmp");
    const auto sub = fs.openSubfolder(*folder.value(), "sub");
    ASSERT_TRUE(sub && sub.value());
    EXPECT_EQ(entriesOf(fs, *sub.value()), (std::map<std::string, char>{{"a.tmp", 'R'}}));
    EXPECT_FALSE(fs.openSubfolder(*folder.value(), "tosub").value());
    EXPECT_FALSE(fs.openSubfolder(*folder.value(), ".hidden").value());
    EXPECT_EQ(fs.openSubfolder(*folder.value(), "gone").error().code, ENOENT);
    EXPECT_EQ(fs.openSubfolder(*folder.value(), "..").error().code, EINVAL);
    const auto up = fs.openParent(*sub.value());
    ASSERT_TRUE(up && up.value());
    EXPECT_EQ(up.value()->id, folder.value()->id);

    // A location given through the user's own link is followed.
    const auto viaLink = fs.openFolder(dir / "tosub");
    ASSERT_TRUE(viaLink);
    EXPECT_EQ(viaLink.value()->id, sub.value()->id);
    EXPECT_EQ(fs.openFolder(dir / "missing").error().description, "No such file or directory");
    EXPECT_EQ(fs.openFolder(dir / ".hidden").error().code, ENOTDIR);
    EXPECT_FALSE(fs.probe(dir / "missing"));
    EXPECT_TRUE(fs.probe(dir.path()));
}

TEST(PosixWalk, MarksKernelFileSystemsButNotOrdinaryOnes) {
    PosixFileSystem fs;
    struct stat st {};
    for (const char* place : {"/proc", "/sys", "/dev/pts", "/dev"}) {
        // /dev is devtmpfs on most systems and a plain tmpfs in some containers.
        if (::stat(place, &st) == 0 &&
            (place != std::string("/dev") ||
             MountTable::current().typeOfDevice(st.st_dev) == "devtmpfs")) {
            EXPECT_TRUE(fs.openFolder(place).value()->virtualFileSystem) << place;
        }
    }
    // Inherited below a mount point, found again past one.
    const auto proc = fs.openFolder("/proc");
    EXPECT_TRUE(fs.openSubfolder(*proc.value(), "sys").value()->virtualFileSystem);
    EXPECT_FALSE(fs.openFolder(fs.tempFolder()).value()->virtualFileSystem);
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
