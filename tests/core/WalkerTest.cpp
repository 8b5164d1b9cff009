#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/MainState.h"
#include "fakes/FakePlatform.h"
#include "scan/Walker.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;

class WalkerTest : public ::testing::Test {
protected:
    FakePlatform fake;
    FaultyFileSystem fs;
    MainState state{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                             fake.window, fs, fake.shell, fake.clock}};
    Walker walker{state};
    // The status line at every pass of the event loop, one per folder listed.
    Texts statusAtDoEvents;

    WalkerTest() {
        for (const char* file :
             {"a.tmp", "B.tmp", "a.bak", "Backup of x.bak", "keep.txt", ".hidden.tmp", ".hid/h.tmp",
              "Sub1/y.tmp", "Sub1/deep/x.bak", "sub2/z.tmp"}) {
            fs.addFile(std::string("/data/") + file);
        }
        fs.addSpecial("/data/pipe.tmp");
        fs.addLink("/data/link.tmp", "/data/keep.txt");
        fs.addLink("/data/loop", "/data");
        fake.lstPat.setTexts({"*.tmp", "*.bak", "Backup of*.*"});
        fake.window.onDoEvents = [this] {
            statusAtDoEvents.push_back(fake.controls.caption("lblInfo"));
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

TEST_F(WalkerTest, PreOrderGroupedByPatternInNameOrder) {
    // Hidden files and the FIFO are left out, the hidden folder is entered, the link to a
    // file is listed and the link back to /data is not followed.
    EXPECT_EQ(walk("/data"), kDataResults);
    EXPECT_EQ(statusAtDoEvents,
              (Texts{"/data", "/data/.hid", "/data/Sub1", "/data/Sub1/deep", "/data/sub2"}));
    EXPECT_EQ(fs.callCount(FsOp::OpenFolder), 5);
    EXPECT_EQ(fake.lstFound.checkedTexts(), Texts{});
}

TEST_F(WalkerTest, EachSwitchLetsItsOwnKindIn) {
    EXPECT_EQ(walk("/data", false, true)[0], "/data/.hidden.tmp");
    EXPECT_EQ(walk("/data", true, false)[3], "/data/pipe.tmp");
    EXPECT_EQ(fake.lstFound.count(), kDataResults.size() + 1);
}

TEST_F(WalkerTest, LocationsAreJoinedWithOneSlashAndRelativeOnesTakenFromTheCurrentFolder) {
    fs.addFile("/r.tmp");
    EXPECT_EQ(walk("/")[0], "/r.tmp");
    EXPECT_EQ(walk("/data/sub2/"), Texts{"/data/sub2/z.tmp"});
    EXPECT_EQ(fake.controls.caption("lblInfo"), "/data/sub2/");
    fs.addFile("/home/user/rel/r.tmp");
    EXPECT_EQ(walk("rel"), Texts{"/home/user/rel/r.tmp"});
    fs.current = "/";
    fs.addFile("/rel2/r.tmp");
    EXPECT_EQ(walk("rel2"), Texts{"/rel2/r.tmp"});
    // A failure names the location as the user typed it.
    walk("nothing");
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].text, "No such file or directory.\r\nnothing");
}

TEST_F(WalkerTest, CyclesAndVirtualFileSystemsAreNotEntered) {
    fs.addFolder("/data/sub2/back");
    fs.bindMount("/data/sub2/back", "/data");
    fs.addFile("/data/proc/p.tmp");
    fs.markVirtual("/data/proc");
    EXPECT_EQ(walk("/data"), kDataResults);
}

TEST_F(WalkerTest, UnreadableFolderOffersAbortRetryIgnore) {
    struct Answers {
        std::vector<int> answers;
        int failures;
        bool sub1Listed;
    };
    for (const Answers& a :
         {Answers{{mb::kIdAbort}, -1, false}, Answers{{mb::kIdIgnore}, -1, false},
          Answers{{mb::kIdRetry, mb::kIdRetry}, 2, true}}) {
        fake.dialogs.boxes.clear();
        fake.dialogs.answers.assign(a.answers.begin(), a.answers.end());
        fs.clearFailures();
        fs.failOn(FsOp::OpenFolder, "/data/Sub1", FaultyFileSystem::permissionDenied(), a.failures);
        Texts expected = kDataResults;
        if (!a.sub1Listed) {
            expected.erase(expected.begin() + 7, expected.begin() + 9);
        }
        // The sibling after the failing folder is still walked.
        EXPECT_EQ(walk("/data"), expected);
        ASSERT_EQ(fake.dialogs.boxes.size(), a.answers.size());
        for (const FakeDialogs::Box& box : fake.dialogs.boxes) {
            EXPECT_EQ(box.text, "Permission denied.\r\n/data/Sub1");
            EXPECT_EQ(box.flags, 18);
            EXPECT_EQ(box.title, "查找文件");
        }
    }
}

TEST_F(WalkerTest, StopListsTheCurrentFolderAndOnlyShowsTheRest) {
    fake.window.onDoEvents = [this] {
        statusAtDoEvents.push_back(fake.controls.caption("lblInfo"));
        if (statusAtDoEvents.back() == "/data/Sub1") {
            state.bStop = true;
        }
    };
    EXPECT_EQ(walk("/data"),
              Texts(kDataResults.begin(), kDataResults.begin() + 8));  // up to Sub1/y.tmp
    EXPECT_EQ(statusAtDoEvents, (Texts{"/data", "/data/.hid", "/data/Sub1"}));
    // deep and sub2 are still entered to see the flag, and shown.
    EXPECT_EQ(fs.callCount(FsOp::OpenFolder), 5);
    EXPECT_EQ(fake.controls.caption("lblInfo"), "/data/sub2");
}

}  // namespace
}  // namespace scourix
