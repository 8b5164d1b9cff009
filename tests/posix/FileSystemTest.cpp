// The file layer on real folders, and what another local user can plant in a shared folder
// meanwhile: none of it makes the file layer touch what lies outside.
#include <dirent.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>

#include "OtherUser.h"
#include "TempFolder.h"
#include "Traps.h"
#include "platform/posix/MountTable.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using test::contentOf;
using test::entriesIn;
using test::exists;
using test::kOtherUser;
using test::modeOf;
using Texts = std::vector<std::string>;
const std::string denied = "Permission denied";

// The program runs for hours and touches thousands of files: no operation, failed or not,
// may leave a descriptor open.
class PosixFiles : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(entriesIn("/proc/self/fd"), descriptors); }

    test::TempFolder dir;
    std::shared_ptr<test::OtherUser> other = std::make_shared<test::OtherUser>();
    PosixFileSystem fs{{}, {}, other};
    std::size_t descriptors = entriesIn("/proc/self/fd");
};

class HostileTree : public PosixFiles {
protected:
    void SetUp() override {
        victim = outside.file("shadow", "secret");
        dir.folder((dir.folder("evil"), "evil/d"));
        listed = dir.file("evil/d/shadow", "junk");
    }

    test::TempFolder outside;
    std::string victim, listed;
};

TEST_F(HostileTree, AnotherUsersLinkIsNeverFollowedAndHeldFoldersStayTheOnesReached) {
    fs.holdFolders(true);
    EXPECT_EQ(fs.fileLength(listed).value(), 4u);
    // The folder on the path is swapped for a link to the outside folder.
    ASSERT_EQ(::rename((dir / "evil/d").c_str(), (dir / "evil/old").c_str()), 0);
    other->owns(dir.link("evil/d", outside.path()));
    ASSERT_TRUE(fs.removeFile(listed));  // in the real folder held, now moved aside
    fs.holdFolders(false);
    EXPECT_FALSE(exists(dir / "evil/old/shadow"));
    EXPECT_EQ(fs.removeFile(listed).error().description, denied);
    EXPECT_EQ(fs.writeText(dir / "evil/d/report", "x").error().description, denied);
    EXPECT_EQ(fs.openFolder(dir / "evil/d").error().description, denied);
    EXPECT_EQ(fs.checkedRegularFile(listed, 16).error().description, denied);
    fs.holdFolders(true);  // held folders take the same way
    EXPECT_FALSE(fs.removeFile(listed));
    fs.holdFolders(false);
    // Nor one in place of a settings file, which is otherwise followed.
    const std::string theirs = other->owns(dir.link("TypeList.ini", victim));
    EXPECT_EQ(fs.readText(theirs).error().description, denied);
    EXPECT_EQ(fs.replaceText(theirs, "x").error().description, denied);
    EXPECT_TRUE(contentOf(victim) == "secret" && !exists(outside / "report"));
}

// Root's own link, moved by another user where it leads a command outside the tree: from
// the user's folder into a listed folder's place, or inside a folder of root's that the user
// renames within theirs. Where nobody else can change a folder, root's link is followed.
TEST_F(HostileTree, ALinkIsFollowedOnlyWhereNobodyElseCouldHavePutOrMovedIt) {
    const std::string home = other->owns(dir.folder("home"));
    dir.file((dir.folder("home/d"), "home/d/shadow"));
    dir.file((dir.folder("home/k"), dir.folder("home/k/sub"), "home/k/sub/shadow"));
    dir.link("home/left", outside.path());
    dir.link((dir.folder("home/roots"), "home/roots/sub"), outside.path());
    ASSERT_EQ(::rename((home + "/d").c_str(), (home + "/d.old").c_str()), 0);
    ASSERT_EQ(::rename((home + "/left").c_str(), (home + "/d").c_str()), 0);
    ASSERT_EQ(::rename((home + "/k").c_str(), (home + "/k.old").c_str()), 0);
    ASSERT_EQ(::rename((home + "/roots").c_str(), (home + "/k").c_str()), 0);
    const std::string mine = dir.folder("mine");
    dir.link("mine/via", "../home/k/sub");  // root's own way to the moved link
    for (const std::string& moved :
         {home + "/d/shadow", home + "/k/sub/shadow", mine + "/via/shadow"}) {
        EXPECT_EQ(fs.removeFile(moved).error().description, denied) << moved;
        EXPECT_EQ(fs.renameNoReplace(moved, moved + ".del").error().description, denied);
        EXPECT_EQ(fs.readText(moved).error().description, denied);
    }
    EXPECT_EQ(contentOf(victim), "secret");
    // The same links where only root can change the folders: followed, also below a sticky
    // folder of root's (the temporary folder the test runs in is one) but not below a folder
    // its group can write, however far up.
    dir.link("mine/ok", outside.path());
    EXPECT_TRUE(fs.fileLength(mine + "/ok/shadow"));
    for (const mode_t mode : {01777, 0775, 0757}) {
        ASSERT_EQ(::chmod(dir.path().c_str(), mode), 0);
        const Result<std::uint64_t> length = fs.fileLength(mine + "/ok/shadow");
        EXPECT_EQ(length ? 0 : length.error().code, mode == 01777 ? 0 : EACCES) << mode;
    }
}

TEST_F(HostileTree, AReportIsAlwaysANewFileAndOnlyOurOwnLeftoverMakesWay) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to give a file to the other user";
    }
    const std::string report = dir / "查找结果信息";
    const std::function<void()> plants[] = {
        [&] { dir.link("查找结果信息", victim); },
        [&] { ASSERT_EQ(::link(victim.c_str(), report.c_str()), 0); },
        [&] { ASSERT_EQ(::chown(dir.file("查找结果信息").c_str(), kOtherUser, 0), 0); },
        [&] { dir.folder("查找结果信息"); }, [&] { dir.fifo("查找结果信息"); }};
    for (std::size_t i = 0; i < std::size(plants); ++i) {
        plants[i]();
        const Result<WrittenFilePtr> written = fs.writeText(report, "report");
        EXPECT_EQ(written.ok() ? "" : written.error().description, "File exists") << i;
        ASSERT_EQ(::remove(report.c_str()), 0) << i;
    }
    EXPECT_EQ(contentOf(victim), "secret");

    dir.file("查找结果信息", "last run");  // a leftover of ours is replaced by a new file
    const Result<WrittenFilePtr> written = fs.writeText(report, "report");
    ASSERT_TRUE(written);
    EXPECT_EQ(contentOf(report), "report");
    // Closing removes it only while it is still that file, not once another took its name.
    ASSERT_EQ(::rename(report.c_str(), (dir / "aside").c_str()), 0);
    EXPECT_FALSE(fs.removeFileIf(report, *written.value()).value());
    dir.file("查找结果信息", "new");
    EXPECT_FALSE(fs.removeFileIf(report, *written.value()).value());
    EXPECT_EQ(contentOf(report), "new");
    EXPECT_TRUE(fs.removeFileIf(dir / "aside", *written.value()).value() && !exists(dir / "aside"));
}

// What an operation made of an entry, as one letter: done '+', nothing done or found '-', or
// the error (Access, No entry, Invalid, is a Directory, too Big, Loop, noT a directory).
template <class R>
char outcome(const R& result) {
    static constexpr int kCodes[] = {EACCES, ENOENT, EINVAL, EISDIR, EFBIG, ELOOP, ENOTDIR};
    if (!result) {
        return "ANIDBLT?"[std::find(kCodes, std::end(kCodes), result.error().code) - kCodes];
    }
    if constexpr (std::is_same_v<R, Result<std::string>>) {
        return result.value().empty() ? '-' : '+';
    } else if constexpr (requires { bool(result.value()); }) {
        return result.value() ? '+' : '-';
    }
    return '+';
}

// A link is found and removed as itself and a folder never found; only regular files of a
// sane size are read or made writable; trusted links on the way are followed, as many as
// the kernel would follow.
TEST_F(PosixFiles, EachOperationTakesEachKindOfEntryByItsRule) {
    dir.file("file", "1*.tmp\r\n");
    dir.file(".hidden");
    const std::string readOnly = dir.file("ro", "", 0444), target = dir.file("target", "", 0444);
    dir.link("link", "target");
    dir.link("dangling", "none");
    dir.fifo("pipe");
    dir.link("tofolder", dir.folder("folder"));
    dir.file("folder/f");
    dir.link("zero", "/dev/zero");
    ASSERT_EQ(::truncate(dir.file("huge").c_str(), PosixFileSystem::kMaxTextFile + 1), 0);
    for (int i = 1; i <= 40; ++i) {
        dir.link("c" + std::to_string(i), i < 40 ? "c" + std::to_string(i + 1) : "folder");
    }
    dir.link("c0", "c1");
    EXPECT_EQ(fs.removeFile(readOnly).error().code, EACCES);  // before the reset below
    // The facts after a scan: one answer per path in order, a path listed twice looked at once.
    const Texts names{dir / "file", dir / "file", dir / "folder", dir / "gone", dir / "dangling"};
    std::vector<Result<FileFacts>> facts(3, FileFacts{});  // whatever was there goes
    fs.inspect({names.begin(), names.end()}, true, facts);
    std::string kinds;
    for (const Result<FileFacts>& f : facts) {
        kinds += f ? "DFLS"[static_cast<int>(f.value().kind)] : outcome(f);
        EXPECT_FALSE(f && f.value().packageOwned);
    }
    ASSERT_EQ(kinds, "FFDNL");
    EXPECT_EQ(facts[0].value().length + facts[1].value().length, 16u);
    const auto top = fs.openFolder(dir.path());
    ASSERT_TRUE(top);
    // Lookups Ordinary, WithHidden, WithHiddenAndSystem, readLines, resetAttributes,
    // openFolder, openSubfolder, removeFile.
    const std::pair<const char*, const char*> cases[] = {
        {"file/below", "---T-TIT"}, {"file", "+++++T-+"},     {".hidden", "-++++T-+"},
        {"ro", "+++++T-+"},         {"link", "++++-T-+"},     {"dangling", "+++N-N-+"},
        {"pipe", "--+I-T-+"},       {"tofolder", "+++D-+-+"}, {"folder", "---D-++D"},
        {"..", "---D-+ID"},         {"zero", "+++I-T-+"},     {"huge", "+++B+T-+"},
        {"missing", "---N-NNN"},    {"c0/f", "LLLL-LIL"},     {"c1/f", "+++++TI+"}};
    for (const auto& [name, expected] : cases) {
        const std::string p = dir / name;
        const std::string got = {outcome(fs.lookup(p, Lookup::Ordinary)),
                                 outcome(fs.lookup(p, Lookup::WithHidden)),
                                 outcome(fs.lookup(p, Lookup::WithHiddenAndSystem)),
                                 outcome(fs.readLines(p, 9)),
                                 outcome(fs.resetAttributes(p)),
                                 outcome(fs.openFolder(p)),
                                 outcome(fs.openSubfolder(*top.value(), name)),
                                 outcome(fs.removeFile(p))};
        EXPECT_EQ(got, expected) << name;
    }
    EXPECT_EQ(modeOf(target) & 07777, 0444u);
}

// The desktop gets a regular file by the path read back from the file checked, with no link
// left in it, and its first bytes; nothing else is handed over, and nothing else is opened.
TEST_F(PosixFiles, OnlyARegularFileIsHandedToTheDesktopByItsRealPath) {
    const std::string real = std::filesystem::canonical(dir.path()).string() + "/sub/a.txt";
    dir.file((dir.folder("sub"), "sub/a.txt"), "hello");
    dir.link("via", dir / "sub");
    dir.link("l.txt", "sub/a.txt");
    const std::string pipe = dir.fifo("pipe");
    dir.link("p.txt", pipe);
    dir.link("z.txt", "/dev/zero");
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, pipe.c_str(), IN_OPEN), 0);
    const auto given = [&](const std::string& name, std::size_t head) {
        const Result<CheckedFile> c = fs.checkedRegularFile(dir / name, head);
        return c ? c.value().realPath + "|" + c.value().head : c.error().description;
    };
    EXPECT_EQ(given("via/a.txt", 3), real + "|hel");
    EXPECT_EQ(given("l.txt", 0), real + "|");
    for (const char* name : {"p.txt", "pipe", "z.txt", "sub", "via", "gone", "sub/a.txt/x"}) {
        EXPECT_EQ(given(name, 16), "|") << name;
    }
    char event[256];
    EXPECT_LT(::read(watch, event, sizeof event), 0) << "the FIFO was opened";
    ::close(watch);
}

TEST_F(PosixFiles, WritesGb18030ReadsLinesAtEveryKindOfLineEndAndStopsAtTheSizeLimit) {
    ASSERT_TRUE(fs.writeText(dir / "report.txt", "中文 *.tmp\r\n"));
    EXPECT_EQ(contentOf(dir / "report.txt"), "\xD6\xD0\xCE\xC4 *.tmp\r\n");
    EXPECT_EQ(fs.readText(dir / "report.txt").value(), "中文 *.tmp\r\n");
    EXPECT_EQ(fs.writeText(dir / "missing/list.txt", "x").error().code, ENOENT);
    const std::pair<std::string, Texts> cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"", {}},
        {"\r\n", {""}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"\xD6\xD0\xCE\xC4 1\r\n\xFF\r\n", {"中文 1", "\xEF\xBF\xBD"}}};
    for (const auto& [bytes, lines] : cases) {
        EXPECT_EQ(fs.readLines(dir.file("lines.ini", bytes), 4).value(), lines) << bytes;
    }
    EXPECT_EQ(fs.readLines(dir.file("lines.ini", "a\nb\nc\nd\ne"), 4).error().code, EFBIG);
    // A file size limit is a failure that leaves no new file and the old one whole.
    const std::string types = dir.file("types.ini", "old\r\n");
    std::signal(SIGXFSZ, SIG_DFL);  // as at the start: unless ignored, it ends the program
    PosixFileSystem fresh;
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit limit{1000, saved.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const Error written = fresh.writeText(dir / "list.txt", std::string(5000, 'x')).error();
    const Status replaced = fresh.replaceText(types, std::string(5000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(written.description, "File too large");
    EXPECT_EQ(replaced.error().code, EFBIG);
    EXPECT_EQ(contentOf(types), "old\r\n");
    EXPECT_EQ(entriesIn(dir.path()), 3u);
}

// A case-only change is another name. A replace keeps the permissions and, for root, the
// owner, leaves a file its owner made read-only even for root, and replaces the file a link
// leads to beside itself, the link staying a link.
TEST_F(PosixFiles, ReplaceKeepsPermissionsLeavesReadOnlyFilesAndFollowsLinks) {
    ASSERT_TRUE(fs.renameNoReplace(dir.file("B.BAK", "b"), dir / "b.bak"));
    const std::string list = dir.file("TypeList.ini", "old", 0640);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::chown(list.c_str(), kOtherUser, kOtherUser + 1) == 0);
    ASSERT_TRUE(fs.replaceText(list, "中文"));
    EXPECT_EQ(contentOf(list), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(modeOf(list) & 07777, 0640u);
    struct stat st {};
    EXPECT_TRUE(::stat(list.c_str(), &st) == 0 && st.st_uid == (root ? kOtherUser : ::geteuid()) &&
                st.st_gid == (root ? kOtherUser + 1 : ::getegid()));
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(fs.replaceText(dir / "new.ini", "x"));
    ::umask(mask);
    EXPECT_EQ(modeOf(dir / "new.ini") & 07777, 0644u);
    ASSERT_EQ(::chmod(list.c_str(), 0444), 0);
    EXPECT_EQ(fs.replaceText(list, "new").error().description, "Permission denied");
    EXPECT_EQ(contentOf(list), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(entriesIn(dir.path()), 3u);  // no temporary file left behind
    const std::string target = dir.file((dir.folder("real"), "real/TypeList.ini"), "old\r\n");
    const std::string link = dir.link("linked.ini", target);
    ASSERT_TRUE(fs.replaceText(link, "new"));
    EXPECT_TRUE(S_ISLNK(modeOf(link)) && contentOf(target) == "new");
    EXPECT_EQ(entriesIn(dir / "real"), 1u);
}

// Every entry of a folder as a walk reads it: name -> kind letter (Folder, File, Link,
// Special), a second sighting of a name spoiling its letter.
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

// Lists a folder as file systems that leave out the entries' kinds do, and removes "gone"
// right after listing it.
std::optional<long> untypedListing(const seccomp_data& call) {
    char* listing = reinterpret_cast<char*>(call.args[1]);
    const long size = ::syscall(SYS_getdents64, call.args[0], listing, call.args[2]);
    for (long at = 0; at < size; at += *reinterpret_cast<unsigned short*>(listing + at + 16)) {
        listing[at + 18] = DT_UNKNOWN;
        if (std::string_view(listing + at + 19) == "gone") {
            ::unlinkat(int(call.args[0]), "gone", 0);
        }
    }
    return size;
}

TEST_F(PosixFiles, AWalkReadsEachEntryOnceAndGoesUpAndDownByFolderIds) {
    const std::string longName(120, 'n');
    for (int i = 0; i < 1000; ++i) {  // enough to need several reads of the kernel's listing
        dir.file(longName + std::to_string(i));
    }
    dir.file("bad\xff\xfe name.tmp");
    dir.fifo("pipe");
    dir.link("tosub", dir.folder("sub"));
    dir.file("sub/a.tmp");
    const auto folder = fs.openFolder(dir.path());
    ASSERT_TRUE(folder && fs.probe(dir.path()));
    auto seen = entriesOf(fs, *folder.value());
    EXPECT_EQ(std::erase_if(seen, [&](auto& e) { return e.first.starts_with(longName); }), 1000u);
    EXPECT_EQ(seen,
              (std::map<std::string, char>{
                  {"bad\xff\xfe name.tmp", 'R'}, {"pipe", 'S'}, {"sub", 'F'}, {"tosub", 'L'}}));
    // The same where the file system leaves out the kinds; one gone since the folder was read
    // is left out.
    const auto untyped = [&] {
        auto again = entriesOf(fs, *fs.openFolder(dir.path()).value());
        std::erase_if(again, [&](auto& e) { return e.first.starts_with(longName); });
        return again == seen ? "same" : "other";
    };
    dir.file("gone");
    EXPECT_EQ(test::withTraps({{SYS_getdents64, untypedListing}}, untyped), "same");
    const auto sub = fs.openSubfolder(*folder.value(), "sub");
    ASSERT_TRUE(sub && sub.value());
    EXPECT_EQ(entriesOf(fs, *sub.value()), (std::map<std::string, char>{{"a.tmp", 'R'}}));
    EXPECT_EQ(fs.openParent(*sub.value()).value()->id, folder.value()->id);

    EXPECT_EQ(fs.openFolder(dir / "tosub").value()->id, sub.value()->id);
}

const char kDesktop[] =
    "21 26 0:20 / /sys rw,nosuid shared:7 - sysfs sysfs rw\n"
    "25 26 0:23 / /run rw,nosuid shared:5 - tmpfs tmpfs rw,mode=755\n"
    "26 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "62 26 259:3 / /home rw,relatime shared:33 - ext4 /dev/nvme0n1p3 rw\n"
    "63 26 7:0 / /snap/core22/1122 ro,nodev,relatime shared:35 - squashfs /dev/loop0 ro\n"
    "64 26 0:40 / /tmp rw,nosuid,nodev shared:36 - tmpfs tmpfs rw\n"
    "420 26 8:17 / /media/user/\\040My\\040Disk rw shared:320 master:7 - exfat /dev/sdb1 rw\n"
    "421 25 8:33 / /run/media/user/USB rw,nosuid,nodev,relatime - vfat /dev/sdc1 rw\n"
    "430 62 259:3 /user/shared /srv/shared rw,relatime shared:33 - ext4 /dev/nvme0n1p3 rw\n"
    "450 64 0:40 / /tmp rw,relatime - tmpfs tmpfs rw\n"
    "460 26 8:49 / /mnt/over rw - ext4 /dev/sdd1 rw\n"
    "461 460 0:62 / /mnt/over rw - proc proc rw\n"
    "this line is not a mount\n"
    "470 26 0:63 / /mnt/short rw -\n"
    // A container's: a single-file bind mount is left to the file system, which keeps folders.
    "510 500 254:1 /docker/containers/abc/hosts /etc/hosts rw - ext4 /dev/vda1 rw\n"
    "512 500 0:90 / /run/secrets rw - tmpfs tmpfs rw\n"
    "513 500 8:x / /bad rw - ext4 /dev/sdz rw\n";  // not a device number: passed over

// From a mount table, kernel, device and run-time places, images and desktop helpers are
// left out; a mount point mounted twice is listed once, as what was mounted last; escapes
// are undone.
TEST(MountTable, ListsStorageVolumesOnceInTableOrder) {
    EXPECT_EQ(MountTable::parse(kDesktop).volumes(),
              (Texts{"/", "/home/", "/tmp/", "/media/user/ My Disk/", "/run/media/user/USB/",
                     "/srv/shared/", "/etc/hosts/"}));
    EXPECT_EQ(MountTable::parse("").volumes(), Texts{"/"});
}

// The settings folder is made on demand, and a folder counts as writable only where a file
// can really be made (root passes permission bits, not a missing folder).
TEST_F(PosixFiles, FindsItsFoldersVolumesKernelFileSystemsAndTheLocalTime) {
    // Kernel file systems are marked, the mark inherited below a mount point and found again
    // past one; this machine's volumes are folders, none of them a kernel place.
    const MountTable table = MountTable::current();
    struct stat st {};
    ASSERT_EQ(::stat("/proc", &st), 0);
    EXPECT_EQ(table.typeOfDevice(st.st_dev), "proc");
    const auto proc = fs.openFolder("/proc");
    EXPECT_TRUE(proc.value()->virtualFileSystem &&
                fs.openFolder("/sys").value()->virtualFileSystem);
    EXPECT_TRUE(fs.openSubfolder(*proc.value(), "sys").value()->virtualFileSystem);
    EXPECT_FALSE(fs.openFolder(dir.path()).value()->virtualFileSystem);
    const Texts volumes = fs.volumes();
    EXPECT_EQ(volumes.at(0), "/");
    for (const std::string& v : volumes) {
        EXPECT_TRUE(v.ends_with('/') && ::stat(v.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
                    !v.starts_with("/proc/") && !v.starts_with("/sys/"))
            << v;
    }
    ::setenv("TMPDIR", dir.path().c_str(), 1);
    EXPECT_EQ(fs.tempFolder(), dir.path() + "/");
    ::setenv("TMPDIR", (dir / "gone").c_str(), 1);
    EXPECT_EQ(fs.tempFolder(), "/tmp/");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(PosixFileSystem("/opt/scourix/").programFolder(), "/opt/scourix");
    EXPECT_EQ(PosixFileSystem("/").programFolder(), "/");
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(fs.programFolder(), exe.substr(0, exe.rfind('/')));
    EXPECT_EQ(fs.currentFolder(), std::filesystem::current_path().string());

    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(fs.userConfigFolder().ends_with("/.config/scourix"));
    const std::string home = std::getenv("HOME");
    ::setenv("HOME", "relative", 1);  // no settings folder rather than one below the current
    EXPECT_EQ(fs.userConfigFolder(), "");
    // Another user's folders, as `sudo -E` leaves them, give way to the effective user's home
    // of record; a folder still to be made counts by the folder above it.
    const bool root = ::geteuid() == 0;
    const std::string theirs = root ? dir.folder("theirs") : "/";
    ASSERT_TRUE(!root || ::chown(theirs.c_str(), kOtherUser, kOtherUser) == 0);
    // A user whose home of record is missing or not theirs (nobody's /nonexistent) has none.
    const std::string homeOfRecord = ::getpwuid(::geteuid())->pw_dir;
    const bool hasHome = ::stat(homeOfRecord.c_str(), &st) == 0 && st.st_uid == ::geteuid();
    const std::string own = hasHome ? homeOfRecord + "/.config/scourix" : "";
    for (const auto& [homeDir, config, expected] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {home, dir / "new/config", dir / "new/config/scourix"},
             {home, theirs + "/.config", own},
             {theirs, "", own},
             {theirs, dir.path(), own}}) {
        ::setenv("HOME", homeDir.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        EXPECT_EQ(fs.userConfigFolder(), expected) << homeDir << " " << config;
    }
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", home.c_str(), 1);
    const std::string nested = dir / "a/b/scourix";
    EXPECT_FALSE(fs.canWriteIn(nested));
    ASSERT_TRUE(fs.makeFolders(nested));
    EXPECT_TRUE(fs.canWriteIn(nested) && !fs.canWriteIn("/proc/self"));

    ::setenv("TZ", "CST-8", 1);  // eight hours east of Greenwich
    ::tzset();
    const DateTime now = PosixClock().now();
    using namespace std::chrono;
    const sys_seconds local = sys_days{year{now.year} / now.month / now.day} + hours{now.hour} +
                              minutes{now.minute} + seconds{now.second};
    EXPECT_NEAR(local.time_since_epoch().count(), std::time(nullptr) + 8 * 3600, 1);
}

}  // namespace
}  // namespace scourix
