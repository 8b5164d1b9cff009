#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "base/MainState.h"

namespace scourix {

class Startup;
class Layout;
class About;
class TypeListStore;
class Locations;
class ResultList;
class ListReport;
class ScanDriver;
class TypeDescriptions;
class ShellCommands;
class AttribReset;
class Deletion;
class Rename;
class TypeListEditing;
class SingleFileSearch;
class TempListing;

// The main window's procedures, named after the control and event that run them. The
// window layer calls these; they work on the shared state through the platform.
class MainForm {
public:
    explicit MainForm(Platform platform);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    MainState& state() { return state_; }
    const MainState& state() const { return state_; }

    // Start-up, the enable switch and closing.
    void Form_Load();
    void SetEn(bool en);
    // Returns Cancel: true keeps the window open.
    bool Form_Unload();
    void cmdClose_Click();
    void mClose_Click();

    // The pattern list's file.
    void LoadTypeList();
    Status SaveTypeList();

    // Layout.
    void Form_Resize();

    // Locations.
    void cmdAddPath_Click();
    void mAddPath_Click();
    void lstDrive_MouseUp(int button, int shift);
    void mDSelAll_Click();
    void mDUSelAll_Click();
    void mDChSell_Click();

    // The scan.
    void cmdFind_Click();
    void mFind_Click();
    void cmdStopFind_Click();
    void mStopFind_Click();
    void Dirs(const std::string& path);
    std::uint64_t FilesSize();
    void CheckFiles();

    // The result list.
    void chkSelAll_Click();
    void setSelectAll(int value);

    void lstFound_Click();
    void lstFound_MouseDown(int button, int shift);
    void lstFound_MouseUp(int button, int shift);
    void lstFound_DblClick();
    void mSelAll_Click();
    void mSelAllUn_Click();
    void mLChSel_Click();
    void mClear_Click();

    // Open and properties.
    void cmdOpen_Click();
    void mOpen_Click();
    void cmdFileAttrib_Click();
    void mAttrib_Click();

    // Deletion, rename and the attribute reset.
    void cmdKill_Click();
    void mKill_Click();
    void cmdDeltmp_Click();
    void mRename_Click();
    void SetFileAttrib();

    // Editing the pattern list, and its descriptions.
    void cmdAdd_Click();
    void mAddType_Click();
    void cmdRemove_Click();
    void mDelType_Click();
    void mResetType_Click();
    void mAddLinuxTypes_Click();
    void mTSelAll_Click();
    void mTUSelAll_Click();
    void mTChSel_Click();
    void lstPat_Click();
    void lstPat_MouseUp(int button, int shift);
    void mReportType_Click();

    // The single-file search and the temporary-folder listing.
    void cmdFindFile_Click();
    void mFindFile_Click();
    void cmdListTempFile_Click();
    void mListtempfiles_Click();

    // The list file.
    void ViewInfo(const std::string& filename);
    void mSaveList_Click();

    // Help menu.
    void mHomePage_Click();
    void mAbout_Click();

private:
    MainState state_;
    std::unique_ptr<TypeListStore> types_;
    std::unique_ptr<Locations> locations_;
    std::unique_ptr<Startup> startup_;
    std::unique_ptr<Layout> layout_;
    std::unique_ptr<About> about_;
    std::unique_ptr<ResultList> results_;
    std::unique_ptr<ListReport> report_;
    std::unique_ptr<ScanDriver> scan_;
    std::unique_ptr<TypeDescriptions> descriptions_;
    std::unique_ptr<ShellCommands> shell_;
    std::unique_ptr<AttribReset> attrib_;
    std::unique_ptr<Deletion> deletion_;
    std::unique_ptr<Rename> rename_;
    std::unique_ptr<TypeListEditing> typeEditing_;
    std::unique_ptr<SingleFileSearch> singleSearch_;
    std::unique_ptr<TempListing> tempListing_;
};

}  // namespace scourix
