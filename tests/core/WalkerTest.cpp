#include <random>
#include <tuple>

#include "FormFixture.h"
#include "scan/Walker.h"

namespace scourix {
namespace {

class WalkerTest : public FormFixture {
protected:
    Walker walker{state};
    Texts statusAtPasses;  // one per folder

    WalkerTest() {
        for (const char* file :
             {"a.tmp", "B.tmp", "a.bak", "Backup of x.bak", "keep.txt", ".hidden.tmp", ".hid/h.tmp",
              "Sub1/y.tmp", "Sub1/deep/x.bak", "sub2/z.tmp", "proc/p.tmp"}) {
            fake.fs.addFile(std::string("/data/") + file);
        }
        fake.fs.addSpecial("/data/pipe.tmp");
        fake.fs.addLink("/data/link.tmp", "/data/keep.txt");
        fake.fs.addLink("/data/loop", "/data");
        fake.fs.markVirtual("/data/proc");
        fake.lstPat.setTexts({"*.tmp", "*.bak", "Backup of*.*"});
        fake.window.onDoEvents = [this] {
            statusAtPasses.push_back(fake.controls.caption("lblInfo"));
        };
    }

    Texts walk(const std::string& path, bool skipHidden = true, bool skipSystem = true) {
        fake.lstFound.clear();
        walker.begin(skipHidden, skipSystem);
        state.bStop = false;
        walker.Dirs(path);
        return fake.lstFound.texts();
    }
};

const Texts kDataResults = {
    "/data/a.tmp",           "/data/B.tmp",           "/data/link.tmp",   "/data/a.bak",
    "/data/Backup of x.bak", "/data/Backup of x.bak", "/data/.hid/h.tmp", "/data/Sub1/y.tmp",
    "/data/Sub1/deep/x.bak", "/data/sub2/z.tmp",
};

// Hidden files and the FIFO are left out, the hidden folder is entered, the link to a file
// is listed; neither the link back to /data nor the kernel's view is entered.
TEST_F(WalkerTest, PreOrderGroupedByPatternInNameOrder) {
    EXPECT_EQ(walk("/data"), kDataResults);
    EXPECT_EQ(statusAtPasses,
              (Texts{"/data", "/data/.hid", "/data/Sub1", "/data/Sub1/deep", "/data/sub2"}));
    EXPECT_EQ(fake.fs.callCount(FsOp::OpenFolder), 6);
    EXPECT_EQ(fake.lstFound.checkedTexts(), Texts{});
    // Each switch lets its own kind in.
    EXPECT_EQ(walk("/data", false, true)[0], "/data/.hidden.tmp");
    EXPECT_EQ(walk("/data", true, false)[3], "/data/pipe.tmp");
    EXPECT_EQ(fake.lstFound.count(), kDataResults.size() + 1);
    // Nor is a bind mount of a folder on the way, so every walk ends.
    fake.fs.addFolder("/data/sub2/back");
    fake.fs.bindMount("/data/sub2/back", "/data");
    EXPECT_EQ(walk("/data"), kDataResults);

    // Stop lists the folder being shown and only shows the rest, still entered to see the flag.
    statusAtPasses.clear();
    fake.fs.calls.clear();
    fake.window.onDoEvents = [this] {
        statusAtPasses.push_back(fake.controls.caption("lblInfo"));
        state.bStop = statusAtPasses.back() == "/data/Sub1";
    };
    EXPECT_EQ(walk("/data"), Texts(kDataResults.begin(), kDataResults.begin() + 8));
    EXPECT_EQ(statusAtPasses, (Texts{"/data", "/data/.hid", "/data/Sub1"}));
    EXPECT_EQ(fake.fs.callCount(FsOp::OpenFolder), 6);
    EXPECT_EQ(fake.controls.caption("lblInfo"), "/data/sub2");
}

// Reached without a scan, the walk takes lstPat as it is and leaves hidden and system files
// out. A volume of the location list, ticked or not, is walked only from its own entry, as
// the list stood when the walk began.
TEST_F(WalkerTest, DirsBeforeAnyScanBeginsTheWalkItself) {
    fake.fs.volumeList = {"/", "/data/sub2"};
    fake.lstDrive.setTexts({"/data/sub2", "临时文件夹"});
    state.bStop = false;
    form.Dirs("/data");
    const Texts withoutSub2(kDataResults.begin(), kDataResults.end() - 1);
    EXPECT_EQ(fake.lstFound.texts(), withoutSub2);
    EXPECT_EQ(walk("/data"), withoutSub2);
    fake.lstDrive.setTexts({"临时文件夹"});
    EXPECT_EQ(walk("/data"), kDataResults);
}

TEST_F(WalkerTest, LocationsAreJoinedWithOneSlashAndRelativeOnesTakenFromTheCurrentFolder) {
    fake.fs.addFile("/r.tmp");
    EXPECT_EQ(walk("/")[0], "/r.tmp");
    EXPECT_EQ(walk("/data/sub2/"), Texts{"/data/sub2/z.tmp"});
    EXPECT_EQ(fake.controls.caption("lblInfo"), "/data/sub2/");
    fake.fs.addFile("/home/user/rel/r.tmp");
    EXPECT_EQ(walk("rel"), Texts{"/home/user/rel/r.tmp"});
    fake.fs.current = "/";
    fake.fs.addFile("/rel2/r.tmp");
    EXPECT_EQ(walk("rel2"), Texts{"/rel2/r.tmp"});
    walk("nothing");  // a failure names the location as the user typed it
    EXPECT_EQ(fake.dialogs.boxes.at(0).text, "No such file or directory.\r\nnothing");
}

// Retry reads the folder again; Abort and Ignore pass it by and the walk goes on.
TEST_F(WalkerTest, UnreadableFolderOffersAbortRetryIgnore) {
    for (const auto& [answer, failures] :
         {std::pair{mb::kIdAbort, -1}, {mb::kIdIgnore, -1}, {mb::kIdRetry, 2}}) {
        fake.dialogs.answers = {answer, answer};
        fake.fs.failOn(FsOp::OpenFolder, "/data/Sub1", FaultyFileSystem::permissionDenied(),
                       failures);
        Texts expected = kDataResults;
        expected.erase(expected.begin() + 7, expected.begin() + (failures < 0 ? 9 : 7));
        EXPECT_EQ(walk("/data"), expected);
        EXPECT_EQ(takeBoxes(fake.dialogs),
                  Texts(failures < 0 ? 1 : 2, "Permission denied.\r\n/data/Sub1|18|查找文件"));
    }
}

// Folders read ahead on other threads change nothing a user sees: on random trees with
// failing folders, random answers and Stop points, as on the window's thread alone.
TEST(ParallelWalkTest, ShowsExactlyWhatTheWalkOnOneThreadShows) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        FakePlatform fake;
        std::vector<std::pair<std::string, int>> folders{{"/r", 0}};  // and their depths
        for (std::size_t f = 0; f < folders.size(); ++f) {
            const auto [folder, depth] = folders[f];
            fake.fs.addFolder(folder);
            for (int i = pick(0, 8); i > 0; --i) {
                const std::string name = folder + "/" + "ab.h"[pick(0, 3)] + std::to_string(i);
                if (depth < 5 && pick(0, 1) == 0) {
                    folders.emplace_back(name, depth + 1);
                } else {
                    fake.fs.addFile(name + (pick(0, 1) ? ".tmp" : ".txt"));
                }
            }
        }
        // Some folders cannot be opened or read, once, twice or always.
        std::vector<std::tuple<FsOp, std::string, int>> failures;
        for (int i = folders.size() > 1 ? pick(0, 4) : 0; i > 0; --i) {
            const std::string& folder =
                folders[pick(1, static_cast<int>(folders.size()) - 1)].first;
            const FsOp op = pick(0, 1) ? FsOp::OpenFolder : FsOp::ReadFolder;
            failures.emplace_back(op, folder, pick(0, 2) == 0 ? -1 : pick(1, 2));
        }
        std::deque<int> answers;
        for (int i = 0; i < 20; ++i) {
            answers.push_back(mb::kIdAbort + pick(0, 2));
        }
        const int stopAt = pick(0, 3) == 0 ? -1 : pick(1, static_cast<int>(folders.size()));
        fill(fake.lstDrive, {"/r", "临时文件夹"}, {true});
        fill(fake.lstPat, {"*.tmp", "a*"}, {true, true});

        const auto scan = [&](unsigned threads) {
            fake.fs.clearFailures();
            for (const auto& [op, path, times] : failures) {
                fake.fs.failOn(op, path, FaultyFileSystem::permissionDenied(), times);
            }
            fake.dialogs.answers = answers;
            fake.controls.setCaption("lblInfo", "");
            MainForm form{fake.platform()};
            form.state().scanThreads = threads;
            Texts seen;
            fake.window.onDoEvents = [&] {
                seen.push_back(fake.controls.caption("lblInfo"));
                if (static_cast<int>(seen.size()) == stopAt) {
                    form.cmdStopFind_Click();
                }
            };
            form.cmdFind_Click();
            return std::tuple(seen, fake.lstFound.texts(), takeBoxes(fake.dialogs));
        };
        const auto alone = scan(1);
        for (unsigned threads : {2u, 4u}) {
            ASSERT_EQ(scan(threads), alone) << "seed " << seed << ", " << threads << " threads";
        }
    }
}

}  // namespace
}  // namespace scourix
