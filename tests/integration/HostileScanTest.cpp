// The procedures on real folders that another user changes between the scan and the
// command, or during the scan: nothing outside the scanned tree is listed or touched.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <fstream>

#include "DiskForm.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using test::contentOf;
using test::DiskForm;
using test::exists;
using test::TempFolder;
using Texts = std::vector<std::string>;

constexpr uid_t kOtherUser = 54321;

class HostileScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        victim = outside.file("shadow.tmp", "secret");
        ASSERT_EQ(::chmod(victim.c_str(), 0444), 0);
        tree.folder("a");
        tree.file("a/1.tmp", "1");
        tree.folder("b");
        tree.file("b/shadow.tmp", "junk");
    }

    // Puts a link to the outside folder, owned by owner, where the folder b was.
    void swapB(uid_t owner) {
        ASSERT_EQ(::rename((tree / "b").c_str(), (tree / "b.old").c_str()), 0);
        const std::string link = tree.link("b", outside.path());
        ASSERT_EQ(::lchown(link.c_str(), owner, owner), 0);
    }

    TempFolder tree;
    TempFolder outside;
    std::string victim;
    DiskForm disk{tree.path()};
};

TEST_F(HostileScanTest, AFolderSwappedForALinkDuringTheScanIsNotWalkedThrough) {
    disk.form.state().scanThreads = 1;  // b is read after the swap, not before
    disk.fake.window.onDoEvents = [&] {
        if (disk.fake.controls.caption("lblInfo") == tree / "a") {
            swapB(0);  // even a link of root's is no subfolder
        }
    };
    disk.scan(tree.path(), "*.tmp");
    EXPECT_EQ(disk.fake.lstFound.texts(), Texts{tree / "a/1.tmp"});
}

TEST_F(HostileScanTest, CommandsAfterALinkSwapFailWithoutTouchingTheTargets) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to play the other user (lchown)";
    }
    disk.scan(tree.path(), "shadow.tmp");
    const std::string listed = tree / "b/shadow.tmp";
    ASSERT_EQ(disk.fake.lstFound.texts(), Texts{listed});
    swapB(kOtherUser);
    auto& fake = disk.fake;

    // Permanent and temporary deletion, with the read-only files made deletable first.
    for (auto command : {&MainForm::cmdKill_Click, &MainForm::cmdDeltmp_Click}) {
        fake.lstFound.setChecked(0, true);
        fake.dialogs.boxes.clear();
        fake.dialogs.answers = {mb::kIdYes, mb::kIdYes, mb::kIdYes};
        (disk.form.*command)();
        ASSERT_EQ(fake.window.infoWindows.size() > 0, true);
        EXPECT_TRUE(fake.window.lastInfo().text.ends_with("1\x1a " + listed +
                                                          "\x1a[Permission denied]\r\n"));
        EXPECT_EQ(fake.lstFound.checkedTexts(), Texts{listed});
    }
    // Rename.
    fake.lstFound.setCurrentIndex(0);
    fake.dialogs.inputs = {"moved.tmp"};
    disk.form.mRename_Click();
    EXPECT_EQ(fake.dialogs.boxes.back().text, "Permission denied");

    EXPECT_EQ(contentOf(victim), "secret");
    EXPECT_EQ(test::modeOf(victim) & 07777, 0444u);
    EXPECT_FALSE(exists(outside / "shadow.tmp.del") || exists(outside / "moved.tmp"));
}

// A volume mounted below a walked folder is walked from its own entry only: nothing is
// listed twice, and an unticked volume is not walked at all.
TEST(NestedVolumeTest, IsWalkedFromItsOwnEntryOnly) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to mount a volume in a namespace of its own";
    }
    TempFolder dir;
    dir.file("top.tmp");
    const std::string volume = dir.folder("vol");
    const pid_t child = ::fork();
    if (child == 0) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("scourix-test", volume.c_str(), "tmpfs", 0, nullptr) != 0) {
            ::_exit(77);
        }
        std::ofstream(volume + "/inner.tmp") << "x";
        DiskForm disk(dir.path());
        disk.form.Form_Load();
        auto& drives = disk.fake.lstDrive;
        drives.insert(0, dir.path());  // typed, above the volume
        drives.setAllChecked(false);
        drives.setChecked(0, true);
        const Texts entries = drives.texts();
        const auto volumeEntry =
            std::find(entries.begin(), entries.end(), volume + "/") - entries.begin();
        disk.fake.lstPat.setTexts({"*.tmp"});
        disk.fake.lstPat.setChecked(0, true);
        disk.fake.dialogs.answers = {mb::kIdNo, mb::kIdNo};
        disk.form.cmdFind_Click();
        const Texts unticked = disk.fake.lstFound.texts();
        drives.setChecked(static_cast<std::size_t>(volumeEntry), true);
        disk.form.cmdFind_Click();
        const Texts ticked = disk.fake.lstFound.texts();
        const bool ok = volumeEntry < static_cast<long>(entries.size()) &&
                        unticked == Texts{dir / "top.tmp"} &&
                        ticked == (Texts{dir / "top.tmp", volume + "/inner.tmp"});
        ::umount(volume.c_str());
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "mount namespaces are not available here";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// Another user's TypeList.ini that this user may not read, in a folder anyone may write:
// the built-in list is used, and closing does not put it in the file's place.
TEST(UnreadableTypeListTest, IsNeitherEmptiedNorReplaced) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a file this test's other user cannot read";
    }
    TempFolder dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string list = dir.file("TypeList.ini", "1*.tmp\r\n");
    ASSERT_EQ(::chmod(list.c_str(), 0600), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(kOtherUser) != 0 || ::setuid(kOtherUser) != 0) {
            ::_exit(77);
        }
        DiskForm disk(dir.path());
        disk.form.Form_Load();
        const bool builtIn = disk.fake.lstPat.checkedTexts().size() == 43;
        const bool refused = !disk.form.Form_Unload() && disk.fake.dialogs.boxes.size() == 1 &&
                             disk.fake.dialogs.boxes[0].text == "Permission denied";
        ::_exit(builtIn && refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(contentOf(list), "1*.tmp\r\n");
    EXPECT_EQ(test::modeOf(list) & 07777, 0600u);
}

}  // namespace
}  // namespace scourix
