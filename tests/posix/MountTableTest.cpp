// The mount table of a desktop and of a container, the volumes drawn from it, and the places
// the program finds by itself: temporary folder, own folder, clock.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/posix/MountTable.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixFileSystem.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;

const char kDesktop[] =
    "21 26 0:20 / /sys rw,nosuid shared:7 - sysfs sysfs rw\n"
    "22 26 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
    "23 26 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw,size=8119568k,mode=755\n"
    "25 26 0:23 / /run rw,nosuid shared:5 - tmpfs tmpfs rw,mode=755\n"
    "26 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "62 26 259:3 / /home rw,relatime shared:33 - ext4 /dev/nvme0n1p3 rw\n"
    "63 26 7:0 / /snap/core22/1122 ro,nodev,relatime shared:35 - squashfs /dev/loop0 ro\n"
    "64 26 0:40 / /tmp rw,nosuid,nodev shared:36 - tmpfs tmpfs rw\n"
    "410 400 0:51 / /run/user/1000/gvfs rw,nosuid - fuse.gvfsd-fuse gvfsd-fuse rw\n"
    "420 26 8:17 / /media/user/My\\040Disk rw shared:320 master:7 - exfat /dev/sdb1 rw\n"
    "421 25 8:33 / /run/media/user/USB rw,nosuid,nodev,relatime - vfat /dev/sdc1 rw\n"
    "430 62 259:3 /user/shared /srv/shared rw,relatime shared:33 - ext4 /dev/nvme0n1p3 rw\n"
    "450 64 0:40 / /tmp rw,relatime - tmpfs tmpfs rw\n"
    "460 26 8:49 / /mnt/over rw - ext4 /dev/sdd1 rw\n"
    "461 460 0:62 / /mnt/over rw - proc proc rw\n"
    "this line is not a mount\n"
    "470 26 0:63 / /mnt/short rw -\n";

// Kernel, device and run-time places, images and desktop helpers are left out; a mount
// point mounted twice is listed once, as what was mounted last; escapes are undone.
TEST(MountTable, ListsStorageVolumesOnceInTableOrder) {
    EXPECT_EQ(MountTable::parse(kDesktop).volumes(),
              (Texts{"/", "/home/", "/tmp/", "/media/user/My Disk/", "/run/media/user/USB/",
                     "/srv/shared/"}));
    // A container's own volumes; a single-file bind mount is left to the file system,
    // which keeps folders only.
    const char container[] =
        "500 450 0:80 / / rw,relatime - overlay overlay rw,lowerdir=/var/lib/docker/l/A\n"
        "510 500 254:1 /docker/containers/abc/hosts /etc/hosts rw - ext4 /dev/vda1 rw\n"
        "511 500 254:1 /home/user/project /work\\011dir rw,relatime - ext4 /dev/vda1 rw\n"
        "512 500 0:90 / /run/secrets rw - tmpfs tmpfs rw\n";
    EXPECT_EQ(MountTable::parse(container).volumes(), (Texts{"/", "/etc/hosts/", "/work\tdir/"}));
    EXPECT_EQ(MountTable::parse("").volumes(), Texts{"/"});
}

TEST(MountTable, ReadsThisProcesssTableAndItsVolumesAreFolders) {
    struct stat st {};
    ASSERT_EQ(::stat("/proc", &st), 0);
    EXPECT_EQ(MountTable::current().typeOfDevice(st.st_dev), "proc");
    const Texts volumes = PosixFileSystem().volumes();
    EXPECT_EQ(volumes.at(0), "/");
    for (const std::string& v : volumes) {
        EXPECT_TRUE(v.ends_with('/') && ::stat(v.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
                    !v.starts_with("/proc/") && !v.starts_with("/sys/"))
            << v;
    }
}

TEST(PosixPlaces, TemporaryProgramAndCurrentFolders) {
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    char made[] = "/tmp/posix_tests_tmpdir.XXXXXX";
    ASSERT_NE(::mkdtemp(made), nullptr);
    ::setenv("TMPDIR", made, 1);
    EXPECT_EQ(PosixFileSystem().tempFolder(), std::string(made) + "/");
    ::rmdir(made);  // a TMPDIR that is gone is passed over
    EXPECT_EQ(PosixFileSystem().tempFolder(), "/tmp/");
    old ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");

    EXPECT_EQ(PosixFileSystem("/opt/scourix/").programFolder(), "/opt/scourix");
    EXPECT_EQ(PosixFileSystem("/").programFolder(), "/");
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(PosixFileSystem().programFolder(), exe.substr(0, exe.rfind('/')));
    EXPECT_EQ(PosixFileSystem().currentFolder(), std::filesystem::current_path().string());
}

TEST(PosixClock, GivesTheLocalDateAndTime) {
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
