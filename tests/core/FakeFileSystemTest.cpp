// The fake file system stands in for the real one in every procedure test, so its rules
// are checked here once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeFileSystem.h"

namespace scourix {
namespace {

std::vector<std::string> names(const FolderListing& listing) {
    std::vector<std::string> out;
    for (const FolderEntry& e : listing.entries) {
        out.push_back(e.name + (e.isFolder ? "/" : "") + (e.hidden ? " h" : "") +
                      (e.system ? " s" : ""));
    }
    return out;
}

TEST(FakeFileSystem, LookupAdmitsFilesByFilterAndNeverFolders) {
    FakeFileSystem fs;
    fs.addFile("/d/plain");
    fs.addFile("/d/.hidden");
    fs.addSpecial("/d/fifo");
    fs.addLink("/d/link", "/d/plain");
    fs.addFolder("/d/sub");
    const auto look = [&](const char* path, Lookup filter) {
        return fs.lookup(path, filter).value();
    };
    EXPECT_EQ(look("/d/plain", Lookup::Ordinary), "plain");
    EXPECT_EQ(look("/d/link", Lookup::Ordinary), "link");
    EXPECT_EQ(look("/d/.hidden", Lookup::Ordinary), "");
    EXPECT_EQ(look("/d/.hidden", Lookup::WithHidden), ".hidden");
    EXPECT_EQ(look("/d/fifo", Lookup::WithHidden), "");
    EXPECT_EQ(look("/d/fifo", Lookup::WithHiddenAndSystem), "fifo");
    EXPECT_EQ(look("/d/sub", Lookup::WithHiddenAndSystem), "");
    EXPECT_EQ(look("/d/missing", Lookup::Ordinary), "");
    EXPECT_EQ(look("/nowhere/x", Lookup::Ordinary), "");
}

TEST(FakeFileSystem, ListsOnlyTheFolderOwnEntries) {
    FakeFileSystem fs;
    fs.addFile("/d/b.txt");
    fs.addFile("/d/.a");
    fs.addFile("/d/sub/deep.txt");
    fs.addSpecial("/d/dev");
    fs.addFile("/d2/other");
    fs.addLink("/link", "/d");
    const auto listing = fs.listFolder("/d/");
    ASSERT_TRUE(listing.ok());
    EXPECT_EQ(listing.value().path, "/d/");
    EXPECT_EQ(names(listing.value()), (std::vector<std::string>{".a h", "b.txt", "dev s", "sub/"}));
    // Through a link the target's entries are listed under the link's path.
    const auto viaLink = fs.listFolder("/link");
    ASSERT_TRUE(viaLink.ok());
    EXPECT_EQ(viaLink.value().path, "/link");
    EXPECT_EQ(viaLink.value().entries.size(), 4u);
    EXPECT_FALSE(fs.listFolder("/d/b.txt").ok());
    EXPECT_FALSE(fs.listFolder("/missing").ok());
}

TEST(FakeFileSystem, ChangesFollowPermissionsAndNeverReplace) {
    FakeFileSystem fs;
    fs.addFile("/d/a", "A");
    fs.addFile("/d/b", "B");
    fs.addFile("/d/ro", "R", true);
    EXPECT_EQ(fs.renameNoReplace("/d/a", "/d/b").error().code, EEXIST);
    EXPECT_EQ(fs.content("/d/b"), "B");
    EXPECT_TRUE(fs.renameNoReplace("/d/a", "/d/a.del").ok());
    EXPECT_EQ(fs.content("/d/a.del"), "A");
    EXPECT_FALSE(fs.exists("/d/a"));

    EXPECT_EQ(fs.removeFile("/d/ro").error().code, EACCES);
    EXPECT_TRUE(fs.resetAttributes("/d/ro").ok());
    EXPECT_TRUE(fs.removeFile("/d/ro").ok());

    fs.setReadOnly("/d", true);
    EXPECT_EQ(fs.removeFile("/d/b").error().code, EACCES);
    EXPECT_FALSE(fs.writeText("/d/new", "x").ok());
    EXPECT_FALSE(fs.replaceText("/d/b", "x").ok());
    EXPECT_TRUE(fs.writeText("/d/b", "rewritten").ok());  // an existing file can be rewritten
    EXPECT_EQ(fs.content("/d/b"), "rewritten");
}

TEST(FakeFileSystem, ReadsLinesAndInjectsFailuresAFewTimesOrAlways) {
    FakeFileSystem fs;
    fs.addFile("/f", "a\r\n\r\nb\nc");
    EXPECT_EQ(fs.readLines("/f").value(), (std::vector<std::string>{"a", "", "b", "c"}));
    fs.addFile("/cr", "a\rb\r\r\n");
    EXPECT_EQ(fs.readLines("/cr").value(), (std::vector<std::string>{"a", "b", ""}));
    fs.addFile("/g", "x\r\n");
    EXPECT_EQ(fs.readLines("/g").value(), (std::vector<std::string>{"x"}));

    fs.failOn(FsOp::FileLength, "/f", {5, "Input/output error"}, 2);
    EXPECT_FALSE(fs.fileLength("/f").ok());
    EXPECT_EQ(fs.fileLength("/f").error().description, "Input/output error");
    EXPECT_EQ(fs.fileLength("/f").value(), 8u);
    fs.setLength("/f", 5'000'000'000ULL);
    EXPECT_EQ(fs.fileLength("/f").value(), 5'000'000'000ULL);
    EXPECT_EQ(fs.callCount(FsOp::FileLength), 4);

    // Relative paths are taken from the current folder.
    fs.addFile(fs.current + "/here", "h");
    EXPECT_EQ(fs.readText("here").value(), "h");
}

}  // namespace
}  // namespace scourix
