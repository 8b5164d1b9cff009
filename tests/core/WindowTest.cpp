// Start-up, closing, what a user can reach in the window, its layout and the About window.
#include <map>
#include <set>

#include "FormFixture.h"

namespace scourix {
namespace {

using WindowTest = FormFixture;
using Names = std::set<std::string>;

// Every command of the window by its menu ("" for the window), stated apart from the design.
// clang-format off
const std::map<std::string, Names> kCommands = {
    {"", {"cmdFind", "cmdStopFind", "cmdListTempFile", "cmdFindFile", "cmdDeltmp", "cmdKill",
          "cmdOpen", "cmdFileAttrib", "cmdAddPath", "cmdAdd", "cmdRemove", "cmdClose",
          "chkSystemFile", "chkHideFile", "chkSelAll", "lstDrive", "lstPat", "lstFound"}},
    {"mList", {"mOpen", "mSaveList", "mClear", "mSelAll", "mSelAllUn", "mLChSel", "mRename",
               "mAttrib", "mClose"}},
    {"mFile", {"mFind", "mFindFile", "mStopFind", "mListtempfiles", "mKill"}},
    {"PopDrive", {"mAddPath", "mDSelAll", "mDUSelAll", "mDChSell"}},
    {"PopType", {"mAddType", "mDelType", "mResetType", "mTSelAll", "mTUSelAll", "mTChSel",
                 "mReportType", "mAddLinuxTypes"}},
    {"mHelp", {"mHomePage", "mAbout"}},
};
// clang-format on

// The commands less `off`; with controls, only those on, in a menu that is on.
Names commands(const Names& off, const FakeControls* controls = nullptr) {
    Names on;
    for (const auto& [menu, names] : kCommands) {
        for (const std::string& name : names) {
            if (!off.contains(name) && (!controls || (controls->enabled(name) &&
                                                      (menu.empty() || controls->enabled(menu))))) {
                on.insert(name);
            }
        }
    }
    return on;
}

// A volume without a readable medium stays listed, unticked, without a word.
TEST_F(WindowTest, StartUpShowsTheCommandsOffThenFillsTheListsAndSwitchesThemOn) {
    EXPECT_TRUE(form.Form_Unload());  // ignored until start-up has finished
    EXPECT_TRUE(fake.fs.calls.empty());
    fake.fs.volumeList = {"/", "/media/usb/", "/mnt/cdrom/", "/home/"};
    fake.fs.addFolder("/media/usb");
    fake.fs.failOn(FsOp::Probe, "/home/", {5, "Input/output error"});
    Names onScreen;  // on screen before the lists are filled, with only these commands on
    fake.window.onDoEvents = [&] {
        EXPECT_EQ(fake.window.showMainWindowCalls, 1);
        EXPECT_EQ(fake.lstDrive.count() + fake.lstPat.checkedTexts().size(), 0u);
        onScreen = commands({}, &fake.controls);
    };
    form.Form_Load();
    EXPECT_EQ(fake.window.doEventsCalls, 1);
    EXPECT_EQ(onScreen, (Names{"cmdListTempFile", "cmdOpen", "lstFound", "mAbout", "mHomePage",
                               "mListtempfiles"}));
    EXPECT_EQ(fake.controls.caption("Label4"), "Scourix 1.51");
    EXPECT_EQ(fake.lstDrive.texts(),
              (Texts{"/", "/media/usb/", "/mnt/cdrom/", "/home/", "临时文件夹"}));
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, false, false, true}));
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    EXPECT_TRUE(state.startUpDone && state.bStop && fake.dialogs.boxes.empty());
}

// A start-up that fails half-way (memory running out) leaves a window that closes, without
// replacing the user's list with the one it had not read yet.
TEST_F(WindowTest, AFailedStartUpStillClosesAndKeepsTheListFile) {
    fake.fs.addFile(typeListPath(), "1*.mine\r\n");
    fake.window.onDoEvents = [] { throw std::bad_alloc(); };
    EXPECT_THROW(form.Form_Load(), std::bad_alloc);
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(fake.fs.content(typeListPath()), "1*.mine\r\n");
}

TEST_F(WindowTest, ClosingWaitsForTheScanThenSavesTheListAndRemovesTheReportsThisRunWrote) {
    form.Form_Load();
    fake.fs.calls.clear();
    // Scanning; Stop pressed with the walk still unwinding; bStop false on its own.
    for (auto [active, stop] : {std::pair{true, false}, {true, true}, {false, false}}) {
        state.scanActive = active;
        state.bStop = stop;
        EXPECT_TRUE(form.Form_Unload());
        EXPECT_EQ(lastBox(), "现在正在查找文件，无法关闭程序。\r\n\r\n必须先停止查找。|16|错误");
    }
    EXPECT_TRUE(fake.fs.calls.empty());
    state.bStop = true;

    // Files of the reports' names that this run did not write are not its to delete.
    fake.fs.addFile("/tmp/错误信息", "x");
    fake.fs.addFile("/tmp/查找结果信息", "y");
    fake.lstPat.setChecked(0, false);
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_TRUE(fake.fs.content(typeListPath()).starts_with("0*.---\r\n1*.#Res\r\n1*.$$$\r\n"));
    EXPECT_TRUE(fake.fs.exists("/tmp/错误信息") && fake.fs.exists("/tmp/查找结果信息"));
    state.sTempPath = "/tmp/";
    form.ViewInfo("/tmp/查找结果信息");
    state.sTempPath = "";
    form.ViewInfo("查找结果信息");  // a scan without the temporary folder: the current one
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_FALSE(fake.fs.exists("/tmp/查找结果信息") ||
                 fake.fs.exists(fake.fs.current + "/查找结果信息"));
    EXPECT_TRUE(fake.fs.exists("/tmp/错误信息"));
    // Replaced by another file since: left alone.
    form.ViewInfo("查找结果信息");
    ASSERT_TRUE(fake.fs.removeFile("查找结果信息"));
    fake.fs.addFile("查找结果信息", "someone else's");
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(fake.fs.content("查找结果信息"), "someone else's");
    EXPECT_EQ(takeBoxes(fake.dialogs).size(), 3u);

    // A failure is shown and the window closes without the remaining steps.
    fake.fs.addFile(typeListPath(), "1*.tmp\r\n");
    state.sTempPath = "/tmp/";
    form.ViewInfo("/tmp/查找结果信息");
    fake.fs.failOn(FsOp::ReplaceText, typeListPath(), {13, "权限不够"});
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(fake.fs.content(typeListPath()), "1*.tmp\r\n");
    fake.fs.clearFailures();
    fake.fs.failOn(FsOp::RemoveIf, "/tmp/查找结果信息", {1, "不允许的操作"});
    EXPECT_FALSE(form.Form_Unload());
    EXPECT_EQ(takeBoxes(fake.dialogs),
              (Texts{"权限不够|16|Scourix 1.51", "不允许的操作|16|Scourix 1.51"}));
    EXPECT_TRUE(fake.fs.exists("/tmp/查找结果信息"));
}

TEST_F(WindowTest, WhatAUserCanReachAfterStartUpDuringAScanAndAfterIt) {
    fake.fs.addFile("/data/a.tmp", "12345");
    fake.fs.volumeList = {"/data"};
    form.Form_Load();
    EXPECT_EQ(commands({}, &fake.controls),
              commands({"cmdDeltmp", "cmdKill", "mKill", "cmdFileAttrib", "mAttrib", "cmdStopFind",
                        "mStopFind", "cmdOpen", "mOpen"}));
    // A default scan leaves hidden and system files out; nothing is ticked for deletion.
    EXPECT_TRUE(fake.controls.value("chkSystemFile") == 1 &&
                fake.controls.value("chkHideFile") == 1 && fake.controls.value("chkSelAll") == 0);

    Names duringScan;
    fake.window.onDoEvents = [&] { duringScan = commands({}, &fake.controls); };
    fill(fake.lstPat, {"*.tmp"}, {true});
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFind_Click();
    EXPECT_EQ(duringScan, (Names{"cmdListTempFile", "cmdStopFind", "lstFound", "mAbout",
                                 "mHomePage", "mListtempfiles", "mStopFind"}));
    EXPECT_EQ(fake.lstFound.texts(), Texts{"/data/a.tmp"});
    // After the first scan the result commands stay on; the stop commands are off again.
    EXPECT_EQ(commands({}, &fake.controls),
              commands({"cmdStopFind", "mStopFind", "cmdOpen", "mOpen"}));
    // The open command, once on, stays usable during a scan.
    form.lstFound_Click();
    form.cmdFind_Click();
    EXPECT_TRUE(duringScan.contains("cmdOpen"));
}

// A negative width or height is refused, the control keeping its size; zero is taken, tops
// may go negative, and nothing moves while the window is minimised.
TEST_F(WindowTest, ControlsFollowTheClientAreaAndKeepSizesThatWouldBeNegative) {
    const std::pair<const char*, int Rect::*> columns[] = {
        {"lblInfo", &Rect::top},     {"lblInfo", &Rect::width},     {"lstFound", &Rect::width},
        {"lstFound", &Rect::height}, {"chkSystemFile", &Rect::top}, {"chkHideFile", &Rect::top},
        {"cmdAdd", &Rect::top},      {"cmdRemove", &Rect::top},     {"lstPat", &Rect::height},
        {"Picture1", &Rect::left}};
    // Minimised, width, height, then the columns.
    const std::vector<std::vector<int>> steps = {
        {0, 12000, 9000, 8745, 11900, 9740, 6585, 8390, 8035, 7560, 7560, 3860, 11625},
        {0, 2260, 2415, 2160, 2160, 0, 0, 1805, 1450, 975, 975, 3860, 1885},
        {0, 10230, 500, 245, 10130, 7970, 0, -110, -465, -940, -940, 3860, 9855},
        {0, 50, 9000, 8745, 10130, 7970, 6585, 8390, 8035, 7560, 7560, 3860, -325},
        {1, 8000, 6000, 8745, 10130, 7970, 6585, 8390, 8035, 7560, 7560, 3860, -325},
    };
    for (const std::vector<int>& s : steps) {
        fake.window.isMinimized = s[0] != 0;
        fake.window.width = s[1];
        fake.window.height = s[2];
        form.Form_Resize();
        std::vector<int> got(s.begin(), s.begin() + 3);
        for (const auto& [name, field] : columns) {
            got.push_back(fake.controls.geometry(name).*field);
        }
        EXPECT_EQ(got, s);
    }
    EXPECT_EQ(fake.controls.geometry("cmdFind"), (Rect{2160, 1440, 1575, 375}));  // never moves
}

// Each use loads a fresh window, fills it, shows it once and unloads it.
TEST_F(WindowTest, AboutInItsOwnColoursInAFreshWindowEachTimeAndTheHomePage) {
    std::vector<FakeInfoWindow::Record> atShow;  // as the user sees it on screen
    fake.window.onShowInfo = [&](const FakeInfoWindow::Record& r) { atShow.push_back(r); };
    form.mAbout_Click();
    form.mAbout_Click();
    const auto& loaded = fake.window.infoWindows;
    EXPECT_TRUE(loaded.size() == 2 && loaded[0]->unloaded && loaded[1]->unloaded);
    ASSERT_EQ(atShow.size(), 2u);
    for (const FakeInfoWindow::Record& r : atShow) {
        EXPECT_TRUE(!r.unloaded && r.heading == "关于“Scourix”" &&
                    r.background == (Color{150, 180, 165}));
        EXPECT_TRUE(r.text.starts_with("Scourix 1.51\r\n"));
    }

    // The home page beside the program, and no failure shown.
    form.mHomePage_Click();
    fake.fs.program = "";  // a program in the root folder
    fake.shell.outcome = OpenOutcome::Failed;
    form.mHomePage_Click();
    EXPECT_EQ(fake.shell.openedDocuments,
              (std::vector<std::string>{"/opt/scourix/scourix-home.html", "/scourix-home.html"}));
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    // Without an opener to start, a box says so.
    fake.shell.outcome = OpenOutcome::OpenerMissing;
    form.mHomePage_Click();
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
}

}  // namespace
}  // namespace scourix
