// The dpkg database on fake databases in temporary folders, and on this machine's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <iterator>
#include <thread>
#include <vector>

#include "TempFolder.h"
#include "platform/posix/DpkgDatabase.h"

namespace scourix {
namespace {

using namespace std::chrono_literals;
using test::TempFolder;

struct timespec secondsAgo(int seconds) {
    struct timespec when {};
    ::clock_gettime(CLOCK_REALTIME, &when);
    when.tv_sec -= seconds;
    return when;
}

void setModified(const std::string& path, const struct timespec& when) {
    const struct timespec times[2] = {when, when};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

std::size_t openFiles() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
}

TEST(DpkgDatabase, OwnsListedPathsUnderBothMergedUsrSpellingsAndDiversionTargets) {
    TempFolder admin;
    admin.folder("info");
    // dpkg lists the folders of a package too, "/." first; the last line lacks its "\n".
    admin.file("info/libfoo1:amd64.list",
               "/.\n/usr\n/usr/share\n/usr/share/doc/libfoo1/changelog.gz\n"
               "/lib/x86_64-linux-gnu/libfoo.so.1\n/usr/lib/python3/foo.py\n/bin/foo\n"
               "/usr/sbin/foo-admin\n/lib32/a32\n/usr/lib64/a64\n/libx32/ax32\n"
               "/usr/libexec/foo-helper\n/usr/share/X11/locale/compose.dir");
    admin.file("info/with space.list", "\n/usr/share/with space/a b.tmp\n\n/usr/bin/foo\n");
    admin.file("info/half.list-new", "/opt/half\n");
    admin.fifo("info/pipe.list");  // not a file: passed over, never waited on
    admin.file("diversions",
               "/usr/bin/tool\n/usr/bin/tool.real\nlocal-pkg\n"
               "/lib/x/orig.so\n/lib/x/orig.so.diverted\nother-pkg\n");
    DpkgDatabase db(admin.path(), 0ns);

    const struct {
        const char* path;
        bool owned;
    } cases[] = {
        {"/usr/share/doc/libfoo1/changelog.gz", true},
        {"/usr/share/X11/locale/compose.dir", true},
        {"/usr/share/with space/a b.tmp", true},
        {"/usr/share/doc/libfoo1/changelog", false},
        {"/usr/share/doc/libfoo1/changelog.gz.bak", false},
        {"/usr/share/junk.tmp", false},  // in a listed folder
        {"/opt/half", false},            // a list still being written
        {"/lib/x86_64-linux-gnu/libfoo.so.1", true},
        {"/usr/lib/x86_64-linux-gnu/libfoo.so.1", true},
        {"/lib/python3/foo.py", true},
        {"/usr/bin/foo", true},
        {"/sbin/foo-admin", true},
        {"/usr/lib32/a32", true},
        {"/lib64/a64", true},
        {"/usr/libx32/ax32", true},
        {"/usr/libexec/foo-helper", true},
        {"/libexec/foo-helper", false},  // /usr/libexec has no alias
        {"/share/doc/libfoo1/changelog.gz", false},
        {"/usr/bin/tool.real", true},
        {"/bin/tool.real", true},
        {"/usr/lib/x/orig.so.diverted", true},
        {"/usr/bin/tool", false},  // the original is owned only where a list has it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(db.owns(c.path), c.owned) << c.path;
    }
    const DpkgDatabase::Figures figures = db.figures();
    EXPECT_EQ(figures.lists, 2u);
    EXPECT_EQ(figures.paths, 15u);
    EXPECT_EQ(figures.distinct, 16u);  // /bin/foo twice
}

TEST(DpkgDatabase, MissingDatabaseOwnsNothing) {
    TempFolder admin;
    for (const std::string& folder : {admin / "absent", admin.path()}) {
        DpkgDatabase db(folder, 0ns);
        EXPECT_FALSE(db.owns("/usr/bin/dpkg")) << folder;
        EXPECT_FALSE(db.owns("/")) << folder;
        EXPECT_EQ(db.figures().lists, 0u);
    }
}

TEST(DpkgDatabase, SeesPackagesAndDiversionsComeAndGo) {
    TempFolder admin;
    admin.folder("info");
    admin.file("info/a.list", "/usr/bin/a\n");
    admin.file("info/b.list", "/usr/bin/b\n");
    const struct timespec now = secondsAgo(0);
    setModified(admin / "info", now);
    const std::size_t openBefore = openFiles();
    DpkgDatabase db(admin.path(), 0ns);
    EXPECT_TRUE(db.owns("/usr/bin/a"));
    // A list replaced as dpkg does it, by a rename, within the clock tick of the read: the
    // folder keeps its time, size and inode.
    admin.file("info/a.list-new", "/usr/bin/a2\n");
    ASSERT_EQ(::rename((admin / "info/a.list-new").c_str(), (admin / "info/a.list").c_str()), 0);
    setModified(admin / "info", now);
    EXPECT_TRUE(db.owns("/usr/bin/a2"));

    // Settled and unchanged: not read again.
    admin.file("diversions", "");
    setModified(admin / "info", secondsAgo(3600));
    setModified(admin / "diversions", secondsAgo(3600));
    EXPECT_TRUE(db.owns("/usr/bin/a2"));
    const std::size_t reads = db.figures().reads;
    EXPECT_TRUE(db.owns("/usr/bin/b"));
    EXPECT_EQ(db.figures().reads, reads);

    // One package removed and one added; then a diversion added, the lists unchanged.
    ::unlink((admin / "info/a.list").c_str());
    admin.file("info/c.list", "/usr/bin/c\n");
    setModified(admin / "info", secondsAgo(1800));
    EXPECT_FALSE(db.owns("/usr/bin/a2"));
    EXPECT_TRUE(db.owns("/usr/bin/c"));
    admin.file("diversions", "/usr/bin/c\n/usr/bin/c.real\nd\n");
    setModified(admin / "diversions", secondsAgo(1800));
    EXPECT_TRUE(db.owns("/usr/bin/c.real"));
    EXPECT_TRUE(db.owns("/usr/bin/b"));
    EXPECT_EQ(openFiles(), openBefore);  // nothing left open by the reads
}

TEST(DpkgDatabase, ChecksForChangesAtMostOncePerInterval) {
    TempFolder admin;
    admin.folder("info");
    admin.file("info/a.list", "/usr/bin/a\n");
    DpkgDatabase db(admin.path(), 1h);
    EXPECT_TRUE(db.owns("/usr/bin/a"));
    admin.file("info/b.list", "/usr/bin/b\n");
    EXPECT_FALSE(db.owns("/usr/bin/b"));
    EXPECT_EQ(db.figures().reads, 1u);
}

// Threads answering while the database changes under them all see the file that stays.
TEST(DpkgDatabase, AnswersFromSeveralThreadsDuringChanges) {
    TempFolder admin;
    admin.folder("info");
    admin.file("info/a.list", "/usr/bin/a\n");
    DpkgDatabase db(admin.path(), 0ns);
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (int& w : wrong) {
        threads.emplace_back([&db, &w] {
            for (int i = 0; i < 300; ++i) {
                w += !db.owns("/usr/bin/a") + db.owns("/usr/bin/none");
            }
        });
    }
    for (int i = 0; i < 50; ++i) {
        admin.file("info/b.list", std::string(i, 'x'));
    }
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST(DpkgDatabase, OwnsThisMachinesPackageFilesOnly) {
    if (::access("/var/lib/dpkg/info", F_OK) != 0) {
        GTEST_SKIP() << "no dpkg database on this machine (/var/lib/dpkg/info is absent)";
    }
    DpkgDatabase db;
    EXPECT_TRUE(db.owns("/usr/bin/dpkg"));  // the dpkg package's own, on every such system
    EXPECT_TRUE(db.owns("/bin/dpkg"));
    TempFolder folder;
    EXPECT_FALSE(db.owns(folder.file("fresh.chk")));
    EXPECT_GT(db.figures().lists, 0u);
}

}  // namespace
}  // namespace scourix
