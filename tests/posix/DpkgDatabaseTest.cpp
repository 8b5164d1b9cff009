// The dpkg database on databases made in temporary folders, and on this machine's own.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>
#include <tuple>

#include "TempFolder.h"
#include "Traps.h"
#include "platform/posix/DpkgDatabase.h"

namespace scourix {
namespace {

using namespace std::chrono_literals;

using std::filesystem::last_write_time;
using Clock = std::filesystem::file_time_type::clock;

// dpkg lists a package's folders too, "/." first. Paths under /bin, /sbin and /lib* are
// owned under both merged-/usr spellings (those under /usr/libexec are not), diversions'
// targets too but not their originals, and nothing in a listed folder unless listed itself.
// A list still being written (.list-new) is passed over.
TEST(DpkgDatabase, OwnsListedPathsUnderBothMergedUsrSpellingsAndDiversionTargets) {
    test::TempFolder admin;
    admin.folder("info");
    admin.file("info/libfoo1:amd64.list",
               "/.\n/usr\n/usr/share\n/usr/share/doc/libfoo1/changelog.gz\n"
               "/lib/x86_64-linux-gnu/libfoo.so.1\n/usr/lib/python3/foo.py\n/bin/foo\n"
               "/usr/sbin/foo-admin\n/lib32/a32\n/usr/lib64/a64\n/libx32/ax32\n"
               "/usr/libexec/foo-helper\n/usr/share/X11/locale/compose.dir");  // no last "\n"
    admin.file("info/with space.list", "\n/usr/share/with space/a b.tmp\n\n/usr/bin/foo\n");
    admin.file("info/half.list-new", "/opt/half\n");
    admin.file("diversions",
               "/usr/bin/tool\n/usr/bin/tool.real\nlocal-pkg\n"
               "/lib/x/orig.so\n/lib/x/orig.so.diverted\nother-pkg\n");
    DpkgDatabase db(admin.path(), 0ns);
    for (const char* path :
         {"/usr/share/doc/libfoo1/changelog.gz", "/usr/share/X11/locale/compose.dir",
          "/usr/share/with space/a b.tmp", "/lib/x86_64-linux-gnu/libfoo.so.1",
          "/usr/lib/x86_64-linux-gnu/libfoo.so.1", "/lib/python3/foo.py", "/usr/bin/foo",
          "/sbin/foo-admin", "/usr/lib32/a32", "/lib64/a64", "/usr/libx32/ax32",
          "/usr/libexec/foo-helper", "/usr/bin/tool.real", "/bin/tool.real",
          "/usr/lib/x/orig.so.diverted"}) {
        EXPECT_TRUE(db.owns(path)) << path;
    }
    for (const char* path :
         {"/usr/share/doc/libfoo1/changelog", "/usr/share/doc/libfoo1/changelog.gz.bak",
          "/opt/half", "/libexec/foo-helper", "/share/doc/libfoo1/changelog.gz", "/usr/bin/tool"}) {
        EXPECT_FALSE(db.owns(path)) << path;
    }
    const DpkgDatabase::Figures f = db.figures();
    EXPECT_EQ(std::tuple(f.lists, f.paths, f.distinct), std::tuple(2u, 15u, 16u));  // /bin/foo
}

TEST(DpkgDatabase, SeesADatabaseAndItsPackagesAndDiversionsComeAndGoOnAnyThread) {
    test::TempFolder admin;
    const std::size_t openBefore = test::entriesIn("/proc/self/fd");
    DpkgDatabase db(admin.path(), 0ns);
    EXPECT_FALSE(db.owns("/usr/bin/a") || db.owns("/"));  // none yet: nothing owned
    admin.folder("info");
    admin.file("info/a.list", "/usr/bin/a\n");
    admin.file("info/b.list", "/usr/bin/b\n");
    const auto now = Clock::now();
    last_write_time(admin / "info", now);
    EXPECT_TRUE(db.owns("/usr/bin/a"));
    // A list replaced as dpkg does it, by a rename, within the clock tick of the read: the
    // folder keeps its time, size and inode.
    admin.file("info/a.list-new", "/usr/bin/a2\n");
    ASSERT_EQ(::rename((admin / "info/a.list-new").c_str(), (admin / "info/a.list").c_str()), 0);
    last_write_time(admin / "info", now);
    EXPECT_TRUE(db.owns("/usr/bin/a2"));

    // Settled and unchanged: not read again.
    admin.file("diversions", "");
    last_write_time(admin / "info", Clock::now() - 60min);
    last_write_time(admin / "diversions", Clock::now() - 60min);
    EXPECT_TRUE(db.owns("/usr/bin/a2"));
    const std::size_t reads = db.figures().reads;
    EXPECT_TRUE(db.owns("/usr/bin/b"));
    EXPECT_EQ(db.figures().reads, reads);

    // One package removed and one added; then a diversion added, the lists unchanged.
    ::unlink((admin / "info/a.list").c_str());
    admin.file("info/c.list", "/usr/bin/c\n");
    last_write_time(admin / "info", Clock::now() - 30min);
    EXPECT_FALSE(db.owns("/usr/bin/a2"));
    EXPECT_TRUE(db.owns("/usr/bin/c"));
    admin.file("diversions", "/usr/bin/c\n/usr/bin/c.real\nd\n");
    last_write_time(admin / "diversions", Clock::now() - 30min);
    EXPECT_TRUE(db.owns("/usr/bin/c.real") && db.owns("/usr/bin/b"));
    // Threads asking a new database first, while the lists change under them, all see the
    // file that stays.
    DpkgDatabase shared(admin.path(), 0ns);
    std::atomic<int> wrong = 0;
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < 300; ++i) {
                    wrong += !shared.owns("/usr/bin/c") + shared.owns("/usr/bin/none");
                }
            });
        }
        for (int i = 0; i < 50; ++i) {
            admin.file("info/x.list", std::string(i, 'x'));
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(test::entriesIn("/proc/self/fd"), openBefore);  // nothing left open by the reads

    DpkgDatabase hourly(admin.path(), 1h);  // checks for changes at most once per interval
    EXPECT_TRUE(hourly.owns("/usr/bin/c"));
    admin.file("info/d.list", "/usr/bin/d\n");
    EXPECT_FALSE(hourly.owns("/usr/bin/d"));
    EXPECT_EQ(hourly.figures().reads, 1u);
}

// A list that cannot be read whole might hold any path: until a read is whole again, every
// path is owned. A list gone before it is opened was its package's, removed meanwhile; a
// database with no diversions has none.
TEST(DpkgDatabase, OwnsEveryPathWhileAListCannotBeReadWhole) {
    test::TempFolder admin;
    admin.folder("info");
    admin.file("info/a.list", "/usr/bin/a\n");
    admin.file("info/b.list", "/usr/bin/b\n");
    last_write_time(admin / "info", Clock::now() - 60min);  // settled: no change to see
    // Whether a, b and another path are owned while opening name fails (three times), and
    // once it opens.
    const auto owned = [&] {
        DpkgDatabase db(admin.path(), 0ns);
        std::string seen;
        for (const char* path :
             {"/usr/bin/a", "/usr/bin/b", "/u/x", "/usr/bin/a", "/usr/bin/b", "/u/x"}) {
            seen += db.owns(path) ? '+' : '-';
        }
        return seen;
    };
    for (const auto& [name, error, expected] :
         {std::tuple("b.list", ENOENT, "+--+--"), std::tuple("b.list", EACCES, "+++++-"),
          std::tuple("/info", EMFILE, "+++++-"), std::tuple("/diversions", EIO, "+++++-")}) {
        EXPECT_EQ(test::withTraps({test::fails(SYS_openat, error, name, 3)}, owned), expected)
            << name;
    }
    // Nor is one whose read fails.
    const test::Trap readFails{SYS_read, [n = std::make_shared<int>(1)](const seccomp_data&) {
                                   return (*n)-- > 0 ? std::optional<long>(-EIO) : std::nullopt;
                               }};
    EXPECT_EQ(test::withTraps({readFails}, owned), "++-++-");
    // Nor is one too large, or no file (never waited on).
    ASSERT_EQ(::truncate(admin.file("info/huge.list").c_str(), DpkgDatabase::kMaxFileBytes + 1), 0);
    DpkgDatabase db(admin.path(), 0ns);
    EXPECT_TRUE(db.owns("/u/x"));
    std::filesystem::remove(admin / "info/huge.list");
    admin.fifo("info/pipe.list");
    EXPECT_TRUE(db.owns("/u/x"));
}

}  // namespace
}  // namespace scourix
