// Scans: locations, the walk's set-up and summary, the walk itself, and the listings.
#include <filesystem>
#include <random>
#include <tuple>

#include "FormFixture.h"
#include "scan/NameOrder.h"
#include "scan/Walker.h"

namespace scourix {
namespace {

using LocationsTest = FormFixture;

// Only the right button opens the menu; its commands act on every entry in one update.
TEST_F(LocationsTest, AddedLocationsGoOnTopUntickedAndTheMenuActsOnEveryEntry) {
    fill(fake.lstDrive, {"/", "临时文件夹"}, {true, true});
    fake.dialogs.inputs = {"/srv/work", "", "/data/", "   ", "/data/"};  // "": cancelled
    form.mAddPath_Click();
    for (int i = 0; i < 4; ++i) {
        form.cmdAddPath_Click();
    }
    EXPECT_EQ(fake.lstDrive.texts(),
              (Texts{"/data/", "   ", "/data/", "/srv/work", "/", "临时文件夹"}));
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{false, false, false, false, true, true}));
    EXPECT_EQ(inputTexts(fake.dialogs), Texts(5, "请输入新的位置|添加位置|"));
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    for (int button : {kLeftButton, kMiddleButton, kRightButton}) {
        form.lstDrive_MouseUp(button, 1);
    }
    EXPECT_EQ(fake.window.popupMenus, (Texts{"PopDrive"}));
    fake.lstDrive.repaints = fake.lstDrive.bulkCalls = 0;
    form.mDChSell_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, true, true, false, false}));
    form.mDUSelAll_Click();
    EXPECT_EQ(fake.lstDrive.checks(), Ticks(6, false));
    form.mDSelAll_Click();
    EXPECT_EQ(fake.lstDrive.checks(), Ticks(6, true));
    EXPECT_EQ(std::pair(fake.lstDrive.repaints, fake.lstDrive.bulkCalls), std::pair(3, 3));
}

class ScanDriverTest : public FormFixture {
protected:
    ScanDriverTest() {
        fake.fs.addFile("/data/a.tmp", "12345");
        fake.fs.addFile("/data/b.bak", "1");
        fake.fs.addFile("/data/c.old", "22");
        fake.fs.addFile("/other/o.tmp");
        fake.fs.addFile("/tmp/t.tmp", "4444");
        fill(fake.lstDrive, {"/data", "/other", "临时文件夹"}, {true});
        fill(fake.lstPat, {"*.bak", "*.old", "*.tmp"}, {false, true, true});
        fake.dialogs.answers = {mb::kIdNo};
    }
};

// A refusal still clears the tick box (unticking the results) and checks the results: gone,
// folders, special and package files go; hidden, dangling links and unlookable ones stay.
TEST_F(ScanDriverTest, RefusalsLeaveTheListsButStillCheckTheResults) {
    fake.fs.addFile("/d/.hidden.tmp");
    fake.fs.addFolder("/d/folder.tmp");
    fake.fs.addSpecial("/d/fifo.tmp");
    fake.fs.addLink("/d/link.tmp", "/nowhere");
    fake.fs.addFile("/d/pkg.tmp");
    fake.fs.packageFiles = {"/d/pkg.tmp"};
    fake.fs.addFile("/lost/x.tmp");
    fake.fs.failOn(FsOp::Inspect, "/lost/x.tmp", {EIO, "Input/output error"});
    for (const std::string refusal : {"没有选定查找的位置。", "没有选定任何一种类型。"}) {
        const bool first = refusal.starts_with("没有选定查找");
        fake.lstDrive.setChecked(0, !first);
        fake.lstPat.setAllChecked(false);
        fill(fake.lstFound,
             {"/data/a.tmp", "/d/gone.tmp", "/d/.hidden.tmp", "/d/folder.tmp", "/d/fifo.tmp",
              "/d/link.tmp", "/data/a.tmp/x", "/d/pkg.tmp", "/lost/x.tmp"},
             {true, true, false, true, false, true});
        fake.controls.setValue("chkSelAll", first ? 1 : 0);
        fake.lstFound.repaints = 0;
        form.cmdFind_Click();
        EXPECT_EQ(takeBoxes(fake.dialogs), Texts{refusal + "|16|查找"});
        EXPECT_EQ(fake.controls.value("chkSelAll"), 0);
        EXPECT_EQ(fake.lstFound.texts(),
                  (Texts{"/data/a.tmp", "/d/.hidden.tmp", "/d/link.tmp", "/lost/x.tmp"}));
        EXPECT_EQ(fake.lstFound.checks(), (first ? Ticks(4) : Ticks{true, false, true, false}));
        EXPECT_EQ(fake.lstFound.repaints, first ? 2 : 1);
    }
    EXPECT_EQ(fake.fs.callCount(FsOp::OpenFolder), 0);
    EXPECT_EQ(state.sFindPlaces, "");
}

TEST_F(ScanDriverTest, WhileTheWalkRunsOnlyStopIsOfferedAndNothingElseStartsOrCloses) {
    state.startUpDone = true;
    fake.lstDrive.setChecked(1, true);
    fake.dialogs.answers = {mb::kIdOk, mb::kIdOk, mb::kIdNo};
    int passes = 0;
    fake.window.onDoEvents = [&] {
        EXPECT_TRUE(form.Form_Unload());  // refused from the pass before the walk on
        if (++passes == 2) {              // the walk of /data, over the ticked patterns only
            EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.old", "*.tmp"}));
            EXPECT_EQ(fake.controls.focused, "cmdStopFind");
            EXPECT_FALSE(state.bStop);
            EXPECT_EQ(fake.window.pointer(), kPointerHourglass);
            form.cmdFind_Click();  // as a command that SetEn leaves enabled would
            form.mStopFind_Click();
        }
    };
    form.mFind_Click();
    EXPECT_EQ(passes, 2);
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/c.old", "/data/a.tmp"}));
    EXPECT_EQ(lastBox(),
              "用户终止!\r\n\r\n找到 2个文件，共7 字节。\r\n是否要查看详细信息？\r\n\r\n"
              "共找到 2 个文件。|68|查找完成");
    EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.bak", "*.old", "*.tmp"}));
    EXPECT_EQ(fake.lstPat.checks(), (Ticks{false, true, true}));
    EXPECT_EQ(fake.controls.focused, "cmdFind");
    EXPECT_TRUE(fake.controls.enabled("cmdFind") && fake.controls.enabled("lstPat"));
    EXPECT_FALSE(fake.controls.enabled("cmdStopFind") || fake.controls.enabled("mStopFind"));
    EXPECT_TRUE(state.bStop && !state.scanActive);
    EXPECT_EQ(fake.window.pointer(), kPointerDefault);
    EXPECT_EQ(state.sFindPlaces, "查找位置\r\n    /data\r\n    /other\r\n");
    EXPECT_EQ(state.sFindTypes, "查找的文件类型：\r\n    *.old\r\n    *.tmp\r\n");
}

// Memory running out during the walk ends the scan as Stop would, the failure passed on to
// the window layer, which says what failed; the next scan runs.
TEST_F(ScanDriverTest, AFailureDuringTheWalkLeavesTheWindowReadyForTheNextScan) {
    int passes = 0;
    fake.window.onDoEvents = [&] { ++passes == 2 ? throw std::bad_alloc() : void(); };
    EXPECT_THROW(form.mFind_Click(), std::bad_alloc);
    EXPECT_EQ(fake.lstPat.checks(), (Ticks{false, true, true}));
    EXPECT_TRUE(fake.controls.enabled("cmdFind") && !fake.controls.enabled("cmdStopFind"));
    EXPECT_TRUE(state.bStop && !state.scanActive && fake.window.pointer() == kPointerDefault);
    form.mFind_Click();
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/c.old", "/data/a.tmp"}));
}

TEST_F(ScanDriverTest, TemporaryFolderFirstAndReportOnYesWithGroupedNumbers) {
    fake.fs.setLength("/other/o.tmp", 1234567);
    fake.lstDrive.setAllChecked(true);
    fake.dialogs.answers = {mb::kIdYes};
    form.cmdFind_Click();
    EXPECT_EQ(fake.lstFound.texts(),
              (Texts{"/tmp/t.tmp", "/data/c.old", "/data/a.tmp", "/other/o.tmp"}));
    EXPECT_EQ(state.sFindPlaces, "查找位置\r\n    /data\r\n    /other\r\n    临时文件夹\r\n");
    const std::string summary = "找到 4个文件，共1,234,578 字节。";
    EXPECT_EQ(fake.controls.caption("lblInfo"), summary);
    EXPECT_EQ(lastBox(), summary + "\r\n是否要查看详细信息？\r\n\r\n共找到 4 个文件。|68|查找完成");
    const auto& info = fake.window.lastInfo();
    EXPECT_EQ(info.text, fake.fs.content("/tmp/查找结果信息"));
    EXPECT_NE(info.text.find("    /tmp/t.tmp\r\n    /data/c.old\r\n"), std::string::npos);
    EXPECT_TRUE(info.heading == "查找结果信息" && info.textColor == kBlue &&
                info.background == kCream);

    // A later scan without the temporary folder keeps its path and writes nothing on No.
    fake.lstDrive.setChecked(2, false);
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFind_Click();
    EXPECT_EQ(state.sTempPath, "/tmp/");
    EXPECT_EQ(fake.fs.callCount(FsOp::WriteText), 1);
}

// The total is 64 bits wide and counts a file listed twice twice; Retry looks again.
TEST_F(ScanDriverTest, UnreadableLengthOffersAbortRetryIgnore) {
    constexpr std::uint64_t kGiB = 1024ull * 1024 * 1024;
    fake.fs.addFile("/h");
    fake.fs.setLength("/h", 3 * kGiB);
    fake.lstFound.setTexts({"/data/a.tmp", "/data/gone.tmp", "/h", "/data/c.old", "/h"});
    const std::string box = "读取文件长度时发生错误。\r\n\r\n/data/";
    // The answers, how often c.old's length cannot be read after its first look, the total.
    using Run = std::tuple<std::deque<int>, int, std::uint64_t>;
    for (const auto& [answers, failures, total] :
         std::vector<Run>{{{mb::kIdAbort}, 0, 5},
                          {{mb::kIdIgnore}, 0, 6 * kGiB + 7},
                          {{mb::kIdIgnore, mb::kIdRetry, mb::kIdRetry}, 1, 6 * kGiB + 7},
                          {{mb::kIdIgnore, mb::kIdIgnore}, -1, 6 * kGiB + 5}}) {
        fake.dialogs.answers = answers;
        fake.fs.clearFailures();
        if (answers.size() > 1) {
            // Looked at again after the box of gone.tmp.
            fake.fs.failOn(FsOp::Inspect, "/data/c.old", FaultyFileSystem::permissionDenied(), 2);
            fake.fs.failOn(FsOp::FileLength, "/data/c.old", FaultyFileSystem::permissionDenied(),
                           failures);
        }
        EXPECT_EQ(form.FilesSize(), total);
        Texts boxes(answers.size(), box + "c.old\r\nPermission denied|18|读取文件长度");
        boxes[0] = box + "gone.tmp\r\nNo such file or directory|18|读取文件长度";
        EXPECT_EQ(takeBoxes(fake.dialogs), boxes);
    }
}

// The total takes each length as the walk saw it: a file removed after the walk looked at it
// is counted without a box and then dropped. After a box of the walk the lengths taken
// before it are looked at again, and so are those of the total's own look-ahead.
TEST_F(ScanDriverTest, TheTotalTakesTheWalksLengthsUntilABoxIsAnswered) {
    fake.lstDrive.setChecked(1, true);
    fake.fs.addFile("/other/late.tmp", "333");
    fake.fs.failOn(FsOp::FileLength, "/other/late.tmp", FaultyFileSystem::permissionDenied());
    fake.window.onDoEvents = [this] {
        if (fake.controls.caption("lblInfo") == "/other") {
            std::filesystem::remove(fake.fs.real("/data/a.tmp"));
        }
    };
    fake.dialogs.answers = {mb::kIdIgnore, mb::kIdNo};
    form.cmdFind_Click();
    Texts boxes = takeBoxes(fake.dialogs);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].find("读取文件长度时发生错误。\r\n\r\n/other/late.tmp"), 0u) << boxes[0];
    EXPECT_EQ(boxes[1].find("找到 4个文件，共7 字节"), 0u) << boxes[1];
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/c.old", "/other/late.tmp", "/other/o.tmp"}));

    fake.fs.addFile("/data/a.tmp", "12345");
    fake.fs.setLength("/other/o.tmp", 10);
    fake.fs.failOn(FsOp::Inspect, "/other/late.tmp", FaultyFileSystem::permissionDenied());
    fake.fs.failOn(FsOp::OpenFolder, "/other", FaultyFileSystem::permissionDenied(), 1);
    fake.window.onDoEvents = nullptr;
    fake.dialogs.whileOpen = [this] { std::filesystem::remove(fake.fs.real("/data/a.tmp")); };
    fake.dialogs.answers = {mb::kIdRetry, mb::kIdIgnore, mb::kIdIgnore, mb::kIdNo};
    form.cmdFind_Click();
    boxes = takeBoxes(fake.dialogs);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[1].find("读取文件长度时发生错误。\r\n\r\n/data/a.tmp"), 0u) << boxes[1];
    EXPECT_EQ(boxes[2].find("读取文件长度时发生错误。\r\n\r\n/other/late.tmp"), 0u) << boxes[2];
    EXPECT_EQ(boxes[3].find("找到 4个文件，共12 字节"), 0u) << boxes[3];
}

// Both listings put their own choice into the lists for one scan and give the user's back.
class ListingsTest : public FormFixture {
protected:
    ListingsTest() {
        for (const char* file :
             {"/data/a.bak", "/data/ a.bak", "/data/sub/ b.bak", "/tmp/noext", "/tmp/sub/x.txt"}) {
            fake.fs.addFile(file);
        }
        fill(fake.lstDrive, {"/data", "/other", "临时文件夹"}, {true});
        // A copy ticked unlike its twin comes back in its place.
        fill(fake.lstPat, {"*.bak", "*.bak", "*.tmp"}, {false, true});
    }
    void expectPatternsBack() const {
        EXPECT_EQ(fake.lstPat.texts(), (Texts{"*.bak", "*.bak", "*.tmp"}));
        EXPECT_EQ(fake.lstPat.checks(), (Ticks{false, true, false}));
    }
};

TEST_F(ListingsTest, SingleFileSearchScansForThePatternAsTypedAloneAndGivesTheListBack) {
    fake.dialogs.inputs = {""};
    for (int i = 0; i < 2; ++i) {  // an empty answer, then Cancel: only the ticks are cleared
        fake.controls.setValue("chkSelAll", 1);
        form.mFindFile_Click();
        EXPECT_EQ(fake.controls.value("chkSelAll"), 0);
    }
    EXPECT_EQ(inputTexts(fake.dialogs), Texts(2, "请输入要查找的文件名|查找文件|*.bak"));
    EXPECT_EQ(fake.fs.callCount(FsOp::OpenFolder), 0);

    fake.dialogs.inputs = {" *.bak", " *.bak"};
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFindFile_Click();
    // The leading blank belongs to the pattern: "a.bak" does not match.
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/data/ a.bak", "/data/sub/ b.bak"}));
    expectPatternsBack();
    fake.lstDrive.setChecked(0, false);  // refused: the list comes back all the same
    form.cmdFindFile_Click();
    EXPECT_EQ(lastBox(), "没有选定查找的位置。|16|查找");
    expectPatternsBack();
}

TEST_F(ListingsTest, TempListingSearchesTheTemporaryFolderAloneForEveryFileAndGivesTheListsBack) {
    state.bStop = false;  // walking
    form.cmdListTempFile_Click();
    state.bStop = true;  // stopped, the scan not yet unwound
    state.scanActive = true;
    form.mListtempfiles_Click();
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, false, false}));
    state.scanActive = false;

    Texts scanned;
    fake.window.onDoEvents = [&] { scanned = fake.lstPat.texts(); };
    fake.dialogs.answers = {mb::kIdOk, mb::kIdNo};
    form.cmdListTempFile_Click();
    EXPECT_EQ(scanned, Texts{"*.*"});
    EXPECT_EQ(takeBoxes(fake.dialogs).at(0),
              "单击确定在表中列出Windows临时文件夹中的所有文件。|64|列出临时文件");
    EXPECT_EQ(fake.lstFound.texts(), (Texts{"/tmp/noext", "/tmp/sub/x.txt"}));
    // The temporary folder stays ticked; the other locations are as before.
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, false, true}));
    expectPatternsBack();
    fake.lstPat.setTexts({});  // an empty list comes back empty
    fake.dialogs.answers = {mb::kIdOk, mb::kIdNo};
    form.cmdListTempFile_Click();
    EXPECT_EQ(fake.lstPat.count(), 0u);
}

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
    EXPECT_EQ(walk("/data", false, true).at(0), "/data/.hidden.tmp");
    EXPECT_EQ(walk("/data", true, false).at(3), "/data/pipe.tmp");
    EXPECT_EQ(fake.lstFound.count(), kDataResults.size() + 1);
    // Nor is a bind mount of a folder on the way, so every walk ends.
    fake.fs.addFolder("/data/sub2/back");
    fake.fs.bindMount("/data/sub2/back", "/data");
    EXPECT_EQ(walk("/data"), kDataResults);

    // Stop lists the folder being shown and only shows the rest, still entered to see the flag.
    // Folders that readers opened ahead meanwhile are never shown, so Stop promises nothing
    // about them: only what the user sees is the same on one thread as on several.
    fake.window.onDoEvents = [this] {
        statusAtPasses.push_back(fake.controls.caption("lblInfo"));
        state.bStop = statusAtPasses.back() == "/data/Sub1";
    };
    for (unsigned threads : {1u, 2u, 4u}) {
        state.scanThreads = threads;
        statusAtPasses.clear();
        EXPECT_EQ(walk("/data"), Texts(kDataResults.begin(), kDataResults.begin() + 8));
        EXPECT_EQ(statusAtPasses, (Texts{"/data", "/data/.hid", "/data/Sub1"}));
        EXPECT_EQ(fake.controls.caption("lblInfo"), "/data/sub2");
        EXPECT_TRUE(fake.dialogs.boxes.empty());
    }
}

// A name before its longer twin; names equal but for case by their bytes.
TEST(NameOrder, PrefixesFirstAndCaseOnlyBetweenEqualNames) {
    for (const auto& [a, b] : {std::pair{"Sub", "sub1"}, {"B.tmp", "b.tmp"}, {"a.b", "A.C"}}) {
        EXPECT_TRUE(nameLess(a, b) && !nameLess(b, a)) << a << " < " << b;
    }
}

// Reached without a scan, the walk takes lstPat as it is and leaves hidden and system files
// out. A volume of the location list, ticked or not, is walked only from its own entry, as
// the list stood when the walk began. Locations are joined with one slash, relative ones
// taken from the current folder.
TEST_F(WalkerTest, DirsBeforeAnyScanBeginsTheWalkItselfFromTheLocationAsTyped) {
    fake.fs.volumeList = {"/", "/data/sub2"};
    fake.lstDrive.setTexts({"/data/sub2", "临时文件夹"});
    state.bStop = false;
    form.Dirs("/data");
    const Texts withoutSub2(kDataResults.begin(), kDataResults.end() - 1);
    EXPECT_EQ(fake.lstFound.texts(), withoutSub2);
    EXPECT_EQ(walk("/data"), withoutSub2);
    fake.lstDrive.setTexts({"临时文件夹"});
    EXPECT_EQ(walk("/data"), kDataResults);
    fake.fs.addFile("/r.tmp");
    EXPECT_EQ(walk("/").at(0), "/r.tmp");
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

// Folders and lengths read ahead on other threads change nothing a user sees: on random
// trees with failing folders and lengths, random answers and Stop points, files removed
// after the walk saw them, and changes made while a box is open, as on the window's thread
// alone.
TEST(ParallelWalkTest, ShowsExactlyWhatTheWalkOnOneThreadShows) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        FakePlatform fake;
        std::vector<std::pair<std::string, int>> folders{{"/r", 0}};  // and their depths
        std::vector<std::pair<std::string, std::string>> files;       // and their texts
        for (std::size_t f = 0; f < folders.size(); ++f) {
            const auto [folder, depth] = folders[f];
            fake.fs.addFolder(folder);
            for (int i = pick(0, 8); i > 0; --i) {
                const std::string name = folder + "/" + "ab.h"[pick(0, 3)] + std::to_string(i);
                if (depth < 5 && pick(0, 1) == 0) {
                    folders.emplace_back(name, depth + 1);
                } else {
                    files.emplace_back(name + (pick(0, 1) ? ".tmp" : ".txt"),
                                       std::string(pick(0, 9), 'x'));
                    fake.fs.addFile(files.back().first, files.back().second);
                }
            }
        }
        const auto any = [&](const auto& from) {
            return from[pick(0, static_cast<int>(from.size()) - 1)].first;
        };
        // Some folders cannot be opened or read, some lengths not taken, until a change mends
        // them: a state of the disk, as a permission is, whenever and however often it is read.
        std::vector<std::pair<FsOp, std::string>> failures;
        for (int i = pick(0, 6); i > 0; --i) {
            const int what = folders.size() > 1 ? pick(0, 2) : 2;
            if (what < 2) {
                failures.emplace_back(what ? FsOp::OpenFolder : FsOp::ReadFolder,
                                      folders[pick(1, static_cast<int>(folders.size()) - 1)].first);
            } else if (!files.empty()) {
                const std::string file = any(files);
                failures.emplace_back(FsOp::Inspect, file);
                failures.emplace_back(FsOp::FileLength, file);
            }
        }
        // The n-th box open makes the n-th change: a file added or removed, a folder with a
        // file added, or every failure mended.
        std::vector<std::pair<int, std::string>> changes;
        for (int i = pick(0, 4); i > 0; --i) {
            const int kind = files.empty() ? 0 : pick(0, 3);
            changes.emplace_back(
                kind, kind == 1 ? any(files)
                                : any(folders) + "/n" + "ab"[i % 2] + (kind == 0 ? ".tmp" : ""));
        }
        std::deque<int> answers(20);
        std::ranges::generate(answers, [&] { return mb::kIdAbort + pick(0, 2); });
        const int stopAt = pick(0, 3) == 0 ? -1 : pick(1, static_cast<int>(folders.size()));
        // A file listed is removed at a pass of the walk: the total counts the length the walk
        // saw.
        const int vanishAt = pick(2, static_cast<int>(folders.size()) + 1);
        fill(fake.lstDrive, {"/r", "临时文件夹"}, {true});
        fill(fake.lstPat, {"*.tmp", "a*"}, {true, true});

        const auto scan = [&](unsigned threads) {
            fake.fs.clearFailures();
            for (const auto& [op, path] : failures) {
                fake.fs.failOn(op, path, FaultyFileSystem::permissionDenied());
            }
            for (const auto& [path, text] : files) {  // the last scan's changes undone
                if (!fake.fs.exists(path)) {
                    fake.fs.addFile(path, text);
                }
            }
            for (const auto& [kind, path] : changes) {
                if (kind != 1) {
                    std::filesystem::remove_all(fake.fs.real(path));
                }
            }
            fake.dialogs.whileOpen = [&] {
                if (fake.dialogs.boxes.size() <= changes.size()) {
                    const auto& [kind, path] = changes[fake.dialogs.boxes.size() - 1];
                    kind == 0   ? fake.fs.addFile(path, "yy")
                    : kind == 1 ? void(std::filesystem::remove(fake.fs.real(path)))
                    : kind == 2 ? fake.fs.addFile(path + "/a.tmp", "yy")
                                : fake.fs.clearFailures();
                }
            };
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
                if (static_cast<int>(seen.size()) == vanishAt && fake.lstFound.count() > 0) {
                    std::filesystem::remove(
                        fake.fs.real(fake.lstFound.text(fake.lstFound.count() / 2)));
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
