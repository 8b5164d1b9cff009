// The mount table on fixtures (a desktop and a container), the volume list drawn from it,
// and the places the program finds by itself: temporary folder, own folder, clock.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "platform/posix/MountTable.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

const char kDesktop[] =
    "21 26 0:20 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw\n"
    "22 26 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "23 26 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8119568k,mode=755\n"
    "24 23 0:22 / /dev/pts rw,nosuid,noexec,relatime shared:3 - devpts devpts rw,gid=5\n"
    "25 26 0:23 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,mode=755\n"
    "26 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "27 21 0:6 / /sys/kernel/security rw,relatime shared:8 - securityfs securityfs rw\n"
    "28 23 0:24 / /dev/shm rw,nosuid,nodev shared:4 - tmpfs tmpfs rw\n"
    "29 25 0:25 / /run/lock rw,nosuid,nodev,noexec,relatime shared:6 - tmpfs tmpfs rw\n"
    "30 21 0:26 / /sys/fs/cgroup rw,relatime shared:9 - cgroup2 cgroup2 rw,nsdelegate\n"
    "35 22 0:31 / /proc/sys/fs/binfmt_misc rw,relatime shared:13 - autofs systemd-1 rw,fd=30\n"
    "60 26 259:1 / /boot/efi rw,relatime shared:31 - vfat /dev/nvme0n1p1 rw,fmask=0077\n"
    "62 26 259:3 / /home rw,relatime shared:33 - ext4 /dev/nvme0n1p3 rw\n"
    "63 26 7:0 / /snap/core22/1122 ro,nodev,relatime shared:35 - squashfs /dev/loop0 ro\n"
    "64 26 0:40 / /tmp rw,nosuid,nodev shared:36 - tmpfs tmpfs rw\n"
    "400 25 0:50 / /run/user/1000 rw,nosuid shared:300 - tmpfs tmpfs rw,mode=700\n"
    "410 400 0:51 / /run/user/1000/gvfs rw,nosuid - fuse.gvfsd-fuse gvfsd-fuse rw,user_id=1000\n"
    "420 26 8:17 / /media/user/My\\040Disk rw,nosuid shared:320 master:7 - exfat /dev/sdb1 rw\n"
    "421 25 8:33 / /run/media/user/USB rw,nosuid,nodev,relatime - vfat /dev/sdc1 rw\n"
    "430 62 259:3 /user/shared /srv/shared rw,relatime shared:33 - ext4 /dev/nvme0n1p3 rw\n"
    "440 26 0:60 / /mnt/nas rw,relatime - nfs4 server:/export rw\n"
    "450 64 0:40 / /tmp rw,relatime - tmpfs tmpfs rw\n"
    "460 26 8:49 / /mnt/over rw - ext4 /dev/sdd1 rw\n"
    "461 460 0:62 / /mnt/over rw - proc proc rw\n"
    "this line is not a mount\n"
    "470 26 0:63 / /mnt/short rw -\n";

const char kContainer[] =
    "500 450 0:80 / / rw,relatime - overlay overlay rw,lowerdir=/var/lib/docker/l/A\n"
    "501 500 0:82 / /proc rw,nosuid,nodev,noexec,relatime - proc proc rw\n"
    "502 500 0:83 / /dev rw,nosuid - tmpfs tmpfs rw,size=65536k,mode=755\n"
    "503 502 0:84 / /dev/pts rw,nosuid,noexec,relatime - devpts devpts rw\n"
    "510 500 254:1 /docker/containers/abc/hosts /etc/hosts rw,relatime - ext4 /dev/vda1 rw\n"
    "511 500 254:1 /home/user/project /work\\011dir rw,relatime - ext4 /dev/vda1 rw\n"
    "512 500 0:90 / /run/secrets rw - tmpfs tmpfs rw\n";

TEST(MountTable, ParsesFieldsAroundTheOptionalOnes) {
    const MountTable table = MountTable::parse(kDesktop);
    ASSERT_EQ(table.entries().size(), 24u);  // the two malformed lines are passed over
    const MountEntry& disk = table.entries()[17];
    EXPECT_EQ(disk.mountPoint, "/media/user/My Disk");
    EXPECT_EQ(disk.type, "exfat");
    EXPECT_EQ(disk.source, "/dev/sdb1");
    EXPECT_EQ(disk.device, makedev(8, 17));
    EXPECT_EQ(table.entries()[19].root, "/user/shared");
    EXPECT_EQ(table.typeOfDevice(makedev(0, 5)), "devtmpfs");
    EXPECT_EQ(table.typeOfDevice(makedev(0, 40)), "tmpfs");
    EXPECT_EQ(table.typeOfDevice(makedev(9, 9)), "");
}

TEST(MountTable, UndoesOctalEscapesOnly) {
    EXPECT_EQ(MountTable::unescape("/a\\040b\\011c\\012d\\134e"), "/a b\tc\nd\\e");
    EXPECT_EQ(MountTable::unescape("\\04"), "\\04");
    EXPECT_EQ(MountTable::unescape("\\999\\x41"), "\\999\\x41");
    EXPECT_EQ(MountTable::unescape("end\\"), "end\\");
    EXPECT_EQ(MountTable::unescape("\\377"), "\xff");
}

TEST(MountTable, ListsStorageVolumesOnceInTableOrder) {
    const std::vector<std::string> expected = {"/",
                                               "/boot/efi/",
                                               "/home/",
                                               "/tmp/",
                                               "/media/user/My Disk/",
                                               "/run/media/user/USB/",
                                               "/srv/shared/",
                                               "/mnt/nas/"};
    EXPECT_EQ(MountTable::parse(kDesktop).volumes(), expected);
}

TEST(MountTable, ListsAContainersOwnVolumes) {
    // The single-file bind mount is left to the file system, which keeps folders only.
    const std::vector<std::string> expected = {"/", "/etc/hosts/", "/work\tdir/"};
    EXPECT_EQ(MountTable::parse(kContainer).volumes(), expected);
    EXPECT_EQ(MountTable::parse("").volumes(), std::vector<std::string>{"/"});
}

TEST(MountTable, ReadsThisProcesssTable) {
    const MountTable table = MountTable::current();
    ASSERT_FALSE(table.entries().empty());
    struct stat st {};
    ASSERT_EQ(::stat("/proc", &st), 0);
    EXPECT_EQ(table.typeOfDevice(st.st_dev), "proc");

    PosixFileSystem fs;
    const std::vector<std::string> volumes = fs.volumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes[0], "/");
    for (const std::string& v : volumes) {
        EXPECT_EQ(v.back(), '/') << v;
        EXPECT_TRUE(::stat(v.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) << v;
        EXPECT_FALSE(v.starts_with("/proc/") || v.starts_with("/sys/")) << v;
    }
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        const char* old = std::getenv(name);
        hadOld_ = old != nullptr;
        old_ = hadOld_ ? old : "";
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { hadOld_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    bool hadOld_;
    std::string old_;
};

TEST(PosixPlaces, TemporaryFolderComesFromTmpdirWhenItIsAFolder) {
    PosixFileSystem fs;
    char pattern[] = "/tmp/posix_tests_tmpdir.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    {
        ScopedEnv env("TMPDIR", pattern);
        EXPECT_EQ(fs.tempFolder(), std::string(pattern) + "/");
    }
    {
        ScopedEnv env("TMPDIR", (std::string(pattern) + "/").c_str());
        EXPECT_EQ(fs.tempFolder(), std::string(pattern) + "/");
    }
    ::rmdir(pattern);
    {
        ScopedEnv env("TMPDIR", pattern);  // gone now
        EXPECT_EQ(fs.tempFolder(), "/tmp/");
    }
    {
        ScopedEnv env("TMPDIR", nullptr);
        EXPECT_EQ(fs.tempFolder(), "/tmp/");
    }
}

TEST(PosixPlaces, ProgramAndCurrentFolders) {
    EXPECT_EQ(PosixFileSystem("/opt/scourix/").programFolder(), "/opt/scourix");
    EXPECT_EQ(PosixFileSystem("/").programFolder(), "/");

    char exe[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    const std::string exePath = exe;
    EXPECT_EQ(PosixFileSystem().programFolder(), exePath.substr(0, exePath.rfind('/')));

    char cwd[4096] = {};
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(PosixFileSystem().currentFolder(), cwd);
}

TEST(PosixClock, GivesTheLocalCalendarDateAndTime) {
    ScopedEnv env("TZ", "UTC0");
    ::tzset();
    using namespace std::chrono;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto before = floor<seconds>(system_clock::now());
        const DateTime now = PosixClock().now();
        if (floor<seconds>(system_clock::now()) != before) {
            continue;  // a second boundary passed in between
        }
        const year_month_day date{floor<days>(before)};
        const hh_mm_ss time{before - floor<days>(before)};
        EXPECT_EQ(now.year, static_cast<int>(date.year()));
        EXPECT_EQ(now.month, static_cast<int>(static_cast<unsigned>(date.month())));
        EXPECT_EQ(now.day, static_cast<int>(static_cast<unsigned>(date.day())));
        EXPECT_EQ(now.hour, time.hours().count());
        EXPECT_EQ(now.minute, time.minutes().count());
        EXPECT_EQ(now.second, time.seconds().count());
        break;
    }
}

}  // namespace
}  // namespace scourix
