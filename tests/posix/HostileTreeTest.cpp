// What another local user can plant in a shared folder between a scan and a command: a
// link in place of a folder, a hard link or a file of theirs under a report's name, an
// endless file under a settings file's name. None of it makes the file layer touch what
// lies outside.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <csignal>

#include "TempFolder.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using test::contentOf;
using test::exists;
using test::TempFolder;

// A user id nobody on the machine has.
constexpr uid_t kOtherUser = 54321;

struct stat statOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

class HostileTree : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root to play the other user (lchown)";
        }
        victim = outside.file("shadow", "secret");
        ASSERT_EQ(::chmod(victim.c_str(), 0444), 0);  // read-only, as the reset must change
        shared.folder("evil");
        shared.folder("evil/d");
        listed = shared.file("evil/d/shadow", "junk");
    }

    // The folder on the path is swapped for a link to the outside folder, owned by owner.
    void swapForLink(uid_t owner) {
        ASSERT_EQ(::rename((shared / "evil/d").c_str(), (shared / "evil/old").c_str()), 0);
        const std::string link = shared.link("evil/d", outside.path());
        ASSERT_EQ(::lchown(link.c_str(), owner, owner), 0);
    }

    TempFolder shared;
    TempFolder outside;
    std::string victim;
    std::string listed;
    PosixFileSystem fs;
};

TEST_F(HostileTree, AnotherUsersLinkOnThePathIsNeverFollowed) {
    swapForLink(kOtherUser);
    const std::string denied = "Permission denied";
    EXPECT_EQ(fs.removeFile(listed).error().description, denied);
    EXPECT_EQ(fs.renameNoReplace(listed, listed + ".del").error().description, denied);
    EXPECT_EQ(fs.resetAttributes(listed).value(), false);
    EXPECT_EQ(fs.lookup(listed, Lookup::WithHiddenAndSystem).error().description, denied);
    EXPECT_EQ(fs.fileLength(listed).error().description, denied);
    EXPECT_EQ(fs.readText(listed).error().description, denied);
    EXPECT_EQ(fs.writeText(shared / "evil/d/report", "x").error().description, denied);
    EXPECT_EQ(fs.replaceText(listed, "x").error().description, denied);
    EXPECT_EQ(fs.openFolder(shared / "evil/d").error().description, denied);
    // Held folders take the same way.
    fs.holdFolders(true);
    EXPECT_FALSE(fs.removeFile(listed));
    fs.holdFolders(false);
    EXPECT_EQ(contentOf(victim), "secret");
    EXPECT_EQ(statOf(victim).st_mode & 07777, 0444u);
    EXPECT_EQ(std::string(outside.path()).size() > 0, true);
    EXPECT_FALSE(exists(outside / "report") || exists(outside / "shadow.del"));
}

TEST_F(HostileTree, ALinkOfRootOrOfTheUserIsFollowedAsTypedLocationsNeedIt) {
    swapForLink(0);
    EXPECT_EQ(fs.lookup(listed, Lookup::Ordinary).value(), "shadow");
    EXPECT_EQ(fs.fileLength(listed).value(), 6u);
    ASSERT_TRUE(fs.openFolder(shared / "evil/d"));
    // A link to a link, and a relative one.
    shared.link("evil/hop", "d");
    EXPECT_EQ(fs.lookup(shared / "evil/hop/shadow", Lookup::Ordinary).value(), "shadow");
    // A link at the end of a path is acted on itself.
    ASSERT_TRUE(fs.removeFile(shared / "evil/hop"));
    EXPECT_TRUE(exists(victim));
}

TEST_F(HostileTree, HeldFoldersStayTheOnesReachedWhenThePathIsSwappedMeanwhile) {
    fs.holdFolders(true);
    EXPECT_EQ(fs.fileLength(listed).value(), 4u);
    swapForLink(kOtherUser);
    // The folder held is the real one, moved aside: the deletion stays in it.
    ASSERT_TRUE(fs.removeFile(listed));
    fs.holdFolders(false);
    EXPECT_FALSE(exists(shared / "evil/old/shadow"));
    EXPECT_EQ(contentOf(victim), "secret");
}

TEST_F(HostileTree, AReportIsAlwaysANewFileAndOnlyOurOwnLeftoverMakesWay) {
    const std::string report = shared / "查找结果信息";
    // A link, a hard link to a root file, another user's file, a folder, a FIFO.
    const auto tryEach = [&](const std::string& what) {
        const Result<WrittenFilePtr> written = fs.writeText(report, "report");
        EXPECT_EQ(written.ok() ? "" : written.error().description, "File exists") << what;
    };
    shared.link("查找结果信息", victim);
    tryEach("link");
    ::unlink(report.c_str());
    ASSERT_EQ(::link(victim.c_str(), report.c_str()), 0);
    tryEach("hard link");
    ::unlink(report.c_str());
    shared.file("查找结果信息", "theirs");
    ASSERT_EQ(::chown(report.c_str(), kOtherUser, kOtherUser), 0);
    tryEach("another user's file");
    EXPECT_EQ(contentOf(report), "theirs");
    ::unlink(report.c_str());
    shared.folder("查找结果信息");
    tryEach("folder");
    ::rmdir(report.c_str());
    shared.fifo("查找结果信息");
    tryEach("FIFO");
    ::unlink(report.c_str());
    EXPECT_EQ(contentOf(victim), "secret");
    EXPECT_EQ(statOf(victim).st_nlink, 1u);

    // A leftover of ours is replaced by a new file.
    shared.file("查找结果信息", "last run");
    const Result<WrittenFilePtr> written = fs.writeText(report, "report");
    ASSERT_TRUE(written);
    EXPECT_EQ(contentOf(report), "report");
    // Closing removes it only while it is still that file: not once another file took its
    // name (the inode number of a deleted file is soon given to a new one).
    const std::string aside = shared / "aside";
    ASSERT_EQ(::rename(report.c_str(), aside.c_str()), 0);
    EXPECT_FALSE(fs.removeFileIf(report, *written.value()).value());
    shared.file("查找结果信息", "someone's new file");
    ASSERT_EQ(::unlink(aside.c_str()), 0);
    shared.file("aside", "reusing inodes");
    EXPECT_FALSE(fs.removeFileIf(report, *written.value()).value());
    EXPECT_TRUE(exists(report));
    ASSERT_EQ(::unlink(report.c_str()), 0);
    ASSERT_EQ(::link(aside.c_str(), report.c_str()), 0);
    EXPECT_FALSE(fs.removeFileIf(report, *written.value()).value());
}

TEST(PosixReadText, ReadsOnlyRegularFilesOfASaneSize) {
    TempFolder dir;
    PosixFileSystem fs;
    dir.link("zero.ini", "/dev/zero");
    dir.fifo("pipe.ini");
    const std::string huge = dir.file("huge.ini");
    ASSERT_EQ(::truncate(huge.c_str(), PosixFileSystem::kMaxTextFile + 1), 0);  // sparse
    EXPECT_EQ(fs.readLines(dir / "zero.ini").error().code, EINVAL);
    EXPECT_EQ(fs.readText(dir / "pipe.ini").error().code, EINVAL);  // and no wait for a writer
    EXPECT_EQ(fs.readLines(huge).error().description, "File too large");
    EXPECT_EQ(fs.readLines(dir.folder("folder.ini")).error().code, EISDIR);
    dir.link("ok.ini", dir.file("real.ini", "1*.tmp\r\n"));
    EXPECT_EQ(fs.readLines(dir / "ok.ini").value(), std::vector<std::string>{"1*.tmp"});
}

// Without SIGXFSZ ignored, a write past the file-size limit would end the program with a
// half-written file behind.
TEST(PosixWriteText, AFileSizeLimitIsAReportedFailureNotTheEnd) {
    TempFolder dir;
    const std::string list = dir / "list.txt";
    const std::string types = dir.file("TypeList.ini", "old\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        PosixFileSystem fs;
        const rlimit limit{1000, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool ok = fs.writeText(list, std::string(5000, 'x')).error().code == EFBIG &&
                        fs.replaceText(types, std::string(5000, 'x')).error().code == EFBIG;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(exists(list));
    EXPECT_EQ(contentOf(types), "old\r\n");
}

}  // namespace
}  // namespace scourix
