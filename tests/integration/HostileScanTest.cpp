#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include "DiskForm.h"

namespace scourix {
namespace {

using test::DiskForm;
using test::Texts;

// Another user swaps a folder for a link while the walk is on its way to it: what the link
// leads to is not listed, even for a link of root's.
TEST(HostileScanTest, AFolderSwappedForALinkDuringTheScanIsNotWalkedThrough) {
    test::TempFolder tree, outside;
    outside.file("shadow.tmp", "secret");
    tree.file((tree.folder("a"), "a/1.tmp"));
    tree.file((tree.folder("b"), "b/shadow.tmp"));
    DiskForm disk(tree.path());
    disk.form.state().scanThreads = 1;  // b is read after the swap, not before
    disk.fake.window.onDoEvents = [&] {
        if (disk.fake.controls.caption("lblInfo") == tree / "a") {
            ASSERT_EQ(::rename((tree / "b").c_str(), (tree / "b.old").c_str()), 0);
            tree.link("b", outside.path());
        }
    };
    EXPECT_EQ(disk.scan({tree.path()}), Texts{tree / "a/1.tmp"});
}

// Every entry below root with what would show that it was touched.
std::map<std::string, std::string> snapshot(const std::string& root) {
    std::map<std::string, std::string> seen;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        struct stat st {};
        ::lstat(e.path().c_str(), &st);
        seen[e.path()] = std::to_string(st.st_ino) + "/" + std::to_string(st.st_mode) + "/" +
                         std::to_string(st.st_size) + "/" + test::contentOf(e.path());
    }
    return seen;
}

// Random trees with read-only files, links of root's within the tree and of another user's
// to outside it, and random swaps of folders for the other user's links to outside between
// the scan and a command: no command ever touches a file outside the scanned tree.
TEST(LinkSwapPropertyTest, NoCommandTouchesAFileOutsideTheScannedTree) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to play the other user (lchown)";
    }
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t high) {
            return std::uniform_int_distribution<std::size_t>(0, high)(random);
        };
        test::TempFolder inside, outside;
        for (const std::string folder : {"p/", "q/", "r/"}) {
            outside.folder(folder);
            for (char name = 'a'; name <= 'p'; ++name) {
                outside.file(folder + name + ".tmp", "keep", 0444);
            }
        }
        const auto outsideFolder = [&] { return outside / std::string(1, char('p' + pick(2))); };
        Texts folders{"."};
        for (char name = 'a'; name <= 'p'; ++name) {
            const std::string at = folders[pick(folders.size() - 1)] + "/" + name;
            if (const std::size_t kind = pick(4); kind < 2) {
                inside.file(at + ".tmp", "x", kind == 0 ? 0444 : 0644);
            } else if (kind == 2) {
                const std::string target = pick(1) ? outsideFolder() : inside.path();
                inside.link(at + ".tmp", target, pick(1) ? test::kOtherUser : 0);
            } else {
                folders.push_back((inside.folder(at), at));
            }
        }
        const auto before = snapshot(outside.path());

        DiskForm disk(inside.path());
        disk.form.state().scanThreads = static_cast<unsigned>(1 + pick(2));
        disk.scan({inside.path()});
        // The deepest first, so that no swap goes through a link planted before.
        std::ranges::sort(folders, [](auto& a, auto& b) { return a.size() > b.size(); });
        for (const std::string& folder : folders) {
            if (folder != "." && pick(1) == 0) {
                std::filesystem::rename(inside / folder, inside / folder + ".old");
                inside.link(folder, outsideFolder(), test::kOtherUser);
            }
        }
        auto& fake = disk.fake;
        fake.lstFound.setAllChecked(true);
        if (fake.lstFound.count() > 0) {
            fake.lstFound.current = static_cast<std::ptrdiff_t>(pick(fake.lstFound.count() - 1));
        }
        fake.dialogs.answers = {mb::kIdYes, pick(1) ? mb::kIdYes : mb::kIdNo, mb::kIdNo};
        fake.dialogs.inputs = {"moved.tmp"};  // a name free outside too
        const auto commands = std::array{&MainForm::cmdKill_Click, &MainForm::cmdDeltmp_Click,
                                         &MainForm::mRename_Click, &MainForm::SetFileAttrib};
        (disk.form.*commands[pick(3)])();
        ASSERT_EQ(snapshot(outside.path()), before) << "seed " << seed;
    }
}

// A volume mounted below a walked folder is walked from its own entry only: nothing is
// listed twice, and an unticked volume is not walked at all.
TEST(NestedVolumeTest, IsWalkedFromItsOwnEntryOnly) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to mount a volume in a namespace of its own";
    }
    test::TempFolder dir;
    dir.file("top.tmp");
    const std::string volume = dir.folder("vol");
    const int status = test::inChild([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("scourix-test", volume.c_str(), "tmpfs", 0, nullptr) != 0) {
            ::_exit(77);
        }
        test::TempFolder::write(volume + "/inner.tmp", "x");
        DiskForm disk(dir.path());
        const Texts locations{dir.path(), volume + "/"};  // the volume as the volumes list has it
        return disk.scan(locations, {"*.tmp"}, 1) == Texts{dir / "top.tmp"} &&
               disk.scan(locations) == Texts{dir / "top.tmp", volume + "/inner.tmp"};
    });
    if (status == 77) {
        GTEST_SKIP() << "mount namespaces are not available here";
    }
    EXPECT_EQ(status, 0);
}

// Another user's TypeList.ini that this user may not read, in a folder anyone may write:
// the built-in list is used, and closing does not put it in the file's place.
TEST(UnreadableTypeListTest, IsNeitherEmptiedNorReplaced) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to make a file this test's other user cannot read";
    }
    test::TempFolder dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string list = dir.file("TypeList.ini", "1*.tmp\r\n");
    ASSERT_EQ(::chmod(list.c_str(), 0600), 0);
    const int status = test::inChild([&] {
        if (::setgid(test::kOtherUser) != 0 || ::setuid(test::kOtherUser) != 0) {
            return false;
        }
        DiskForm disk(dir.path());
        disk.form.Form_Load();
        return disk.fake.lstPat.checkedTexts().size() == builtInTypes().size() &&
               !disk.form.Form_Unload() && disk.fake.dialogs.boxes.size() == 1 &&
               disk.fake.dialogs.boxes[0].text == "Permission denied";
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::contentOf(list), "1*.tmp\r\n");
    EXPECT_EQ(test::modeOf(list) & 07777, 0600u);
}

}  // namespace
}  // namespace scourix
