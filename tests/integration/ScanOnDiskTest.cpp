// The procedures on the real file system, with fakes for the window, and what another
// local user can do meanwhile.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>

#include "DiskForm.h"
#include "platform/posix/DpkgDatabase.h"
#include "posix/OtherUser.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
namespace fsys = std::filesystem;

constexpr int kLevels = 20000;
constexpr int kSideEvery = 1000;

// kLevels nested folders "d" with bottom.tmp at the bottom, and every kSideEvery levels a
// folder "e" beside "d" with side.tmp, which the walk has to come back up to.
void buildDeepTree(const std::string& root) {
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
    const auto here = [&] { return "/proc/self/fd/" + std::to_string(fd); };
    for (int i = 0; i < kLevels; ++i) {
        if (i % kSideEvery == kSideEvery - 1) {
            ASSERT_EQ(::mkdirat(fd, "e", 0755), 0);
            test::TempFolder::write(here() + "/e/side.tmp", "12345");
        }
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    test::TempFolder::write(here() + "/bottom.tmp", "12345");
    ::close(fd);
}

// A tree 20,000 levels deep, within a usual descriptor limit, on several threads or one (which
// climbs back by ".." to the folders it had to close): all is found, and the file at the
// bottom can be renamed and deleted like any other. A folder high up, replaced while the walk
// is at the bottom and the folder below it moved away, is not walked on in the new folder nor
// in the one the moved folder lies in now: the walk shows that it is gone and goes on above.
TEST(DeepTreeTest, ScanAndFileOperationsReachTheBottomAndNoReplacedFolderIsWalkedOn) {
    test::TempFolder dir("/dev/shm");  // 40,000 folder changes: memory is quicker than disk
    buildDeepTree(dir.path());
    DiskForm disk(dir.path());
    auto& fake = disk.fake;
    rlimit saved{};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    const rlimit usual{1024, saved.rlim_max};
    ::setrlimit(RLIMIT_NOFILE, &usual);
    for (unsigned threads : {4u, 1u}) {
        disk.form.state().scanThreads = threads;
        fake.dialogs.boxes.clear();
        const Texts found = disk.scan({dir.path()});
        ASSERT_EQ(fake.dialogs.boxes.size(), 1u) << fake.dialogs.boxes.at(0).text.substr(0, 80);
        ASSERT_EQ(found.size(), 1u + kLevels / kSideEvery) << threads << " threads";
        EXPECT_EQ(found[0].size(), dir.path().size() + 2 * kLevels + 11);
        EXPECT_EQ(found.back().size(), dir.path().size() + 2 * (kSideEvery - 1) + 11);
        EXPECT_EQ(disk.summary(), "找到 21个文件，共105 字节。");
    }
    ::setrlimit(RLIMIT_NOFILE, &saved);

    const std::string bottom = fake.lstFound.text(0);
    ASSERT_TRUE(disk.fs.renameNoReplace(bottom, bottom + ".del"));
    ASSERT_TRUE(disk.fs.renameNoReplace(bottom + ".del", bottom));
    fake.lstFound.setChecked(0, true);
    fake.dialogs.answers = {mb::kIdYes, mb::kIdNo};
    disk.form.cmdKill_Click();
    EXPECT_EQ(fake.lstFound.count(), 20u);
    EXPECT_EQ(disk.fs.lookup(bottom, Lookup::WithHiddenAndSystem).value(), "");

    const auto down = [&](int levels) { return bottom.substr(0, dir.path().size() + 2 * levels); };
    const std::string high = down(2 * kSideEvery - 1);
    fake.window.onDoEvents = [&, deepest = bottom.substr(0, bottom.rfind('/'))] {
        if (fake.controls.caption("lblInfo") == deepest) {
            fsys::rename(high + "/d", dir / "moved");
            fsys::rename(high, dir / "old");
            for (const std::string& planted : {high, dir.path()}) {
                fsys::create_directories(planted + "/e");
                test::TempFolder::write(planted + "/e/planted.tmp", "x");
            }
        }
    };
    fake.dialogs.boxes.clear();
    fake.dialogs.answers = {mb::kIdIgnore, mb::kIdAbort};  // the lengths of the moved files
    EXPECT_EQ(disk.scan({dir.path()}), Texts{down(kSideEvery - 1) + "/e/side.tmp"});
    EXPECT_EQ(fake.dialogs.boxes.at(0).text, "No such file or directory.\r\n" + high + "/e");
    EXPECT_EQ(std::system(("rm -rf " + dir / "d " + dir / "moved " + dir / "old").c_str()), 0);
}

// While a command's box is up, the listed file is swapped for a read-only folder: each
// command looks again when it acts, and leaves the folder as it is.
TEST(SwapWhileABoxIsUpTest, EveryCommandActsOnWhatIsThereWhenTheBoxIsAnswered) {
    for (const auto command :
         {&MainForm::mRename_Click, &MainForm::cmdKill_Click, &MainForm::cmdDeltmp_Click}) {
        test::TempFolder tree;
        const std::string file = tree.file("a.tmp");
        DiskForm disk(tree.path());
        disk.fake.lstFound.setTexts({file});
        disk.fake.lstFound.setAllChecked(true);
        disk.fake.lstFound.setCurrentIndex(0);
        disk.fake.dialogs.whileInputIsUp = disk.fake.window.onDoEvents = [&] {
            if (test::modeOf(file) != (S_IFDIR | 0555)) {
                ::unlink(file.c_str()), tree.folder("a.tmp"), ::chmod(file.c_str(), 0555);
            }
        };
        disk.fake.dialogs.inputs = {"b.tmp"};
        disk.fake.dialogs.answers = {mb::kIdYes, mb::kIdYes};  // read-only files too
        (disk.form.*command)();
        EXPECT_TRUE(test::entriesIn(tree.path()) == 1 && test::modeOf(file) == (S_IFDIR | 0555));
        ::chmod(file.c_str(), 0755);
    }
}

// Another user swaps a folder for a link while the walk is on its way to it: what the link
// leads to is not listed, even for a link of root's. Links are files of their own, counted
// with their own length, and a name that is no UTF-8 is found and deleted by its bytes.
TEST(HostileScanTest, AFolderSwappedForALinkDuringTheScanIsNotWalkedThrough) {
    test::TempFolder tree, outside;
    outside.file("shadow.tmp", "secret");
    tree.file((tree.folder("a"), "a/1.tmp"), "12345");
    tree.file((tree.folder("b"), "b/shadow.tmp"));
    tree.file("\xff\xfe.tmp", "xy");
    tree.link("link.tmp", "a");
    tree.fifo("fifo.tmp");
    DiskForm disk(tree.path());
    disk.form.state().scanThreads = 1;  // b is read after the swap, not before
    disk.fake.window.onDoEvents = [&] {
        if (disk.fake.controls.caption("lblInfo") == tree / "a") {
            ASSERT_EQ(::rename((tree / "b").c_str(), (tree / "b.old").c_str()), 0);
            tree.link("b", outside.path());
        }
    };
    EXPECT_EQ(disk.scan({tree.path()}),
              (Texts{tree / "link.tmp", tree / "\xff\xfe.tmp", tree / "a/1.tmp"}));
    EXPECT_EQ(disk.summary(), "找到 3个文件，共8 字节。");
    for (const std::string& path : disk.fake.lstFound.texts()) {
        EXPECT_TRUE(disk.fs.removeFile(path)) << path;
    }
    EXPECT_EQ(test::entriesIn(tree.path()), 4u);
}

// Every entry below root with what would show that it was touched.
std::map<std::string, std::string> snapshot(const std::string& root) {
    std::map<std::string, std::string> seen;
    for (const auto& e : fsys::recursive_directory_iterator(root)) {
        struct stat st {};
        ::lstat(e.path().c_str(), &st);
        seen[e.path()] = std::to_string(st.st_ino) + "/" + std::to_string(st.st_mode) + "/" +
                         std::to_string(st.st_size) + "/" + test::contentOf(e.path());
    }
    return seen;
}

// Random trees with read-only files, folders of another user's, links of root's within the
// tree and of the other user's to outside it, and random swaps between the scan and a
// command: a folder's place taken by the other user's link to outside, or, below a folder of
// theirs, by a link of root's to outside or by a folder of root's whose links lead there. No
// command ever touches a file outside the scanned tree, nor hands one to the desktop.
TEST(LinkSwapPropertyTest, NoCommandTouchesAFileOutsideTheScannedTree) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](std::size_t high) {
            return std::uniform_int_distribution<std::size_t>(0, high)(random);
        };
        test::TempFolder inside, outside;
        const auto other = std::make_shared<test::OtherUser>();
        Texts folders{"."}, theirs;
        for (char name = 'a'; name <= 'p'; ++name) {
            outside.file(name + std::string(".tmp"), "keep", 0444);
            const std::string at = folders[pick(folders.size() - 1)] + "/" + name;
            if (const std::size_t kind = pick(4); kind < 2) {
                inside.file(at + ".tmp", "x", kind == 0 ? 0444 : 0644);
            } else if (kind == 2) {
                const std::string target = pick(1) ? outside.path() : inside.path();
                const std::string link = inside.link(at + ".tmp", target);
                if (pick(1)) {
                    other->owns(link);
                }
            } else {
                folders.push_back((inside.folder(at), at));
                if (pick(2) == 0) {
                    theirs.push_back((other->owns(inside / at), at));
                }
            }
        }
        const auto before = snapshot(outside.path());

        DiskForm disk(inside.path(), {}, other);
        disk.form.state().scanThreads = static_cast<unsigned>(1 + pick(2));
        disk.scan({inside.path()});
        // The deepest first, so that no swap goes through a link planted before.
        std::ranges::sort(folders, [](auto& a, auto& b) { return a.size() > b.size(); });
        for (const std::string& folder : folders) {
            if (folder == "." || pick(1) == 0) {
                continue;
            }
            fsys::rename(inside / folder, inside / folder + ".old");
            const bool inTheirs = std::ranges::any_of(
                theirs, [&](const std::string& t) { return folder.starts_with(t + "/"); });
            if (const std::size_t how = inTheirs ? pick(2) : 0; how == 0) {
                other->owns(inside.link(folder, outside.path()));
            } else if (how == 1) {
                inside.link(folder, outside.path());
            } else {
                inside.folder(folder);
                for (const std::string& below : folders) {
                    if (below.starts_with(folder + "/") &&
                        below.find('/', folder.size() + 1) == std::string::npos) {
                        inside.link(below, outside.path());
                    }
                }
            }
        }
        auto& fake = disk.fake;
        fake.lstFound.setAllChecked(true);
        if (fake.lstFound.count() > 0) {
            fake.lstFound.current = static_cast<std::ptrdiff_t>(pick(fake.lstFound.count() - 1));
        }
        fake.dialogs.answers = {mb::kIdYes, pick(1) ? mb::kIdYes : mb::kIdNo, mb::kIdNo};
        fake.dialogs.inputs = {"moved.tmp"};  // a name free outside too
        // Every command that acts on a listed file by its path.
        const auto commands = std::array{&MainForm::cmdKill_Click, &MainForm::cmdDeltmp_Click,
                                         &MainForm::mRename_Click, &MainForm::SetFileAttrib,
                                         &MainForm::cmdOpen_Click, &MainForm::cmdFileAttrib_Click};
        (disk.form.*commands[pick(commands.size() - 1)])();
        ASSERT_EQ(snapshot(outside.path()), before) << "seed " << seed;
        for (const auto* given : {&fake.shell.openedDocuments, &fake.shell.shownProperties}) {
            for (const std::string& path : *given) {
                EXPECT_EQ(path, fsys::canonical(path).string()) << "seed " << seed;
                EXPECT_TRUE(path.starts_with(fsys::canonical(inside.path()).string() + "/"));
            }
        }
    }
}

// A volume mounted below a walked folder is walked from its own entry only: nothing is
// listed twice, and an unticked volume is not walked at all.
TEST(NestedVolumeTest, IsWalkedFromItsOwnEntryOnly) {
    test::TempFolder dir;
    dir.file("top.tmp");
    const std::string volume = dir.folder("vol");
    const pid_t child = ::fork();  // which mounts the volume in a namespace of its own
    if (child == 0) {
        // Not root: a user namespace of its own, in which the user keeps their ids and may
        // mount.
        const auto keep = [](const char* map, unsigned id) {
            return bool((std::ofstream(map) << id << ' ' << id << " 1").flush());
        };
        const unsigned uid = ::geteuid(), gid = ::getegid();
        if (uid != 0 && (::unshare(CLONE_NEWUSER) != 0 || !keep("/proc/self/uid_map", uid) ||
                         !(std::ofstream("/proc/self/setgroups") << "deny").flush() ||
                         !keep("/proc/self/gid_map", gid))) {
            ::_exit(77);
        }
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("scourix-test", volume.c_str(), "tmpfs", 0, nullptr) != 0) {
            ::_exit(77);
        }
        test::TempFolder::write(volume + "/inner.tmp", "x");
        const Texts locations{dir.path(), volume + "/"};  // the volume as the volumes list has it
        const bool once = [&] {                           // the form's folders go before _exit
            DiskForm disk(dir.path());
            return disk.scan(locations, {"*.tmp"}, 1) == Texts{dir / "top.tmp"} &&
                   disk.scan(locations) == Texts{dir / "top.tmp", volume + "/inner.tmp"};
        }();
        ::_exit(once ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
        GTEST_SKIP() << "needs mount namespaces, or user namespaces when not root";
    }
    EXPECT_EQ(status, 0);
}

// Files that an installed package owns are system files: a scan leaves them out, and no
// command acts on one that a package installed after the scan; the program's own files are
// read all the same.
TEST(PackageFilesTest, AreLeftOutOrDroppedAndNeverActedOnWhenTheDatabaseChanges) {
    test::TempFolder tree, admin;
    const std::string owned = tree.file((tree.folder("a"), "a/compose.dir"), "12345");
    const std::string mine = tree.file("a/mine.dir", "1"), other = tree.file("a/other.dir", "22");
    // The package list now: these paths, spelled as dpkg spells them (no links).
    const auto own = [&](const Texts& paths) {
        std::string list;
        for (const std::string& p : paths) {
            list += fsys::canonical(p).string() + "\n";
        }
        fsys::create_directories(admin / "info");
        test::TempFolder::write(admin / "info/pkg.list", list);
    };
    DiskForm disk(tree.path(),
                  std::make_shared<DpkgDatabase>(admin.path(), std::chrono::nanoseconds(0)));
    disk.fake.controls.setValue("chkSystemFile", 1);
    const auto scan = [&](const std::string& location) { return disk.scan({location}, {"*.dir"}); };
    own({owned, other});
    // Left out as the walk meets them, also through the user's own link: never counted.
    EXPECT_EQ(scan(tree.path()), Texts{mine});
    EXPECT_EQ(disk.summary(), "找到 1个文件，共1 字节。");
    EXPECT_EQ(scan(tree.link("via", tree / "a")), Texts{tree / "via/mine.dir"});
    EXPECT_EQ(disk.summary(), "找到 1个文件，共1 字节。");
    // Packages removed between two scans, and installed after the last: no command acts on
    // the files they own.
    own({});
    ASSERT_EQ(scan(tree.path()), (Texts{owned, mine, other}));
    own({owned, mine});
    auto& fake = disk.fake;
    fake.lstFound.setCurrentIndex(0);
    fake.dialogs.inputs = {"new.dir"};
    disk.form.mRename_Click();
    EXPECT_EQ(fake.dialogs.inputBoxes.back().defaultText, "");
    EXPECT_EQ(fake.dialogs.boxes.back().text, "No such file or directory");
    fake.lstFound.setAllChecked(true);
    fake.dialogs.answers = {mb::kIdYes, mb::kIdYes};
    disk.form.cmdKill_Click();
    // The owned files leave the list untouched; the other one is deleted.
    EXPECT_EQ(fake.lstFound.count(), 0u);
    EXPECT_TRUE(test::exists(owned) && test::exists(mine) && !test::exists(other));

    own({tree.file("TypeList.ini", "1*.own\r\n")});
    disk.form.Form_Load();
    EXPECT_EQ(disk.fake.lstPat.texts(), Texts{"*.own"});
}

}  // namespace
}  // namespace scourix
