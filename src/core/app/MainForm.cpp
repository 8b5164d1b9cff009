#include "app/MainForm.h"

#include "app/About.h"
#include "app/Layout.h"
#include "app/Startup.h"
#include "fileops/AttribReset.h"
#include "fileops/Deletion.h"
#include "fileops/Rename.h"
#include "listings/SingleFileSearch.h"
#include "listings/TempListing.h"
#include "results/ListReport.h"
#include "results/ResultList.h"
#include "results/ShellCommands.h"
#include "scan/Locations.h"
#include "scan/ScanDriver.h"
#include "types/TypeDescriptions.h"
#include "types/TypeListEditing.h"
#include "types/TypeListStore.h"

namespace scourix {

MainForm::MainForm(Platform platform)
    : state_(platform),
      types_(std::make_unique<TypeListStore>(state_)),
      locations_(std::make_unique<Locations>(state_)),
      startup_(std::make_unique<Startup>(state_, *locations_, *types_)),
      layout_(std::make_unique<Layout>(state_)),
      about_(std::make_unique<About>(state_)),
      results_(std::make_unique<ResultList>(state_, [this] { mReportType_Click(); })),
      report_(std::make_unique<ListReport>(state_)),
      scan_(std::make_unique<ScanDriver>(
          state_, ScanDriver::Hooks{
                      .setEn = [this](bool en) { SetEn(en); },
                      .setSelectAll = [this](int value) { setSelectAll(value); },
                      .viewInfo = [this](const std::string& name) { ViewInfo(name); },
                  })),
      descriptions_(std::make_unique<TypeDescriptions>(state_)),
      shell_(std::make_unique<ShellCommands>(state_)),
      attrib_(std::make_unique<AttribReset>(state_)),
      deletion_(std::make_unique<Deletion>(state_, *attrib_)),
      rename_(std::make_unique<Rename>(state_)),
      typeEditing_(std::make_unique<TypeListEditing>(state_)),
      singleSearch_(std::make_unique<SingleFileSearch>(
          state_, [this] { cmdFind_Click(); }, [this](int value) { setSelectAll(value); })),
      tempListing_(std::make_unique<TempListing>(state_, [this] { cmdFind_Click(); })) {}

MainForm::~MainForm() = default;

void MainForm::Form_Load() {
    startup_->Form_Load();
}
void MainForm::SetEn(bool en) {
    startup_->SetEn(en);
}
bool MainForm::Form_Unload() {
    return startup_->Form_Unload();
}
// Both only ask the window to close; Form_Unload decides.
void MainForm::cmdClose_Click() {
    state_.ui.window.requestClose();
}
void MainForm::mClose_Click() {
    state_.ui.window.requestClose();
}

void MainForm::LoadTypeList() {
    (void)types_->LoadTypeList();
}
Status MainForm::SaveTypeList() {
    return types_->SaveTypeList();
}

void MainForm::Form_Resize() {
    layout_->Form_Resize();
}

void MainForm::cmdAddPath_Click() {
    locations_->cmdAddPath_Click();
}
void MainForm::mAddPath_Click() {
    locations_->mAddPath_Click();
}
void MainForm::lstDrive_MouseUp(int button, int shift) {
    locations_->lstDrive_MouseUp(button, shift);
}
void MainForm::mDSelAll_Click() {
    locations_->mDSelAll_Click();
}
void MainForm::mDUSelAll_Click() {
    locations_->mDUSelAll_Click();
}
void MainForm::mDChSell_Click() {
    locations_->mDChSell_Click();
}

void MainForm::cmdFind_Click() {
    scan_->cmdFind_Click();
}
void MainForm::mFind_Click() {
    scan_->mFind_Click();
}
void MainForm::cmdStopFind_Click() {
    scan_->cmdStopFind_Click();
}
void MainForm::mStopFind_Click() {
    scan_->mStopFind_Click();
}
void MainForm::Dirs(const std::string& path) {
    scan_->walker().Dirs(path);
}
std::uint64_t MainForm::FilesSize() {
    return scan_->checks().FilesSize();
}
void MainForm::CheckFiles() {
    scan_->checks().CheckFiles();
}

void MainForm::chkSelAll_Click() {
    results_->chkSelAll_Click();
}
void MainForm::setSelectAll(int value) {
    results_->setSelectAll(value);
}

void MainForm::lstFound_Click() {
    results_->lstFound_Click();
}
void MainForm::lstFound_MouseDown(int button, int shift) {
    results_->lstFound_MouseDown(button, shift);
}
void MainForm::lstFound_MouseUp(int button, int shift) {
    results_->lstFound_MouseUp(button, shift);
}
void MainForm::lstFound_DblClick() {
    results_->lstFound_DblClick();
}
void MainForm::mSelAll_Click() {
    results_->mSelAll_Click();
}
void MainForm::mSelAllUn_Click() {
    results_->mSelAllUn_Click();
}
void MainForm::mLChSel_Click() {
    results_->mLChSel_Click();
}
void MainForm::mClear_Click() {
    results_->mClear_Click();
}

// A menu item that stands for a button presses the button.
void MainForm::cmdOpen_Click() {
    shell_->cmdOpen_Click();
}
void MainForm::mOpen_Click() {
    cmdOpen_Click();
}
void MainForm::cmdFileAttrib_Click() {
    shell_->cmdFileAttrib_Click();
}
void MainForm::mAttrib_Click() {
    cmdFileAttrib_Click();
}

void MainForm::cmdKill_Click() {
    deletion_->cmdKill_Click();
}
void MainForm::mKill_Click() {
    cmdKill_Click();
}
void MainForm::cmdDeltmp_Click() {
    deletion_->cmdDeltmp_Click();
}
void MainForm::mRename_Click() {
    rename_->mRename_Click();
}
void MainForm::SetFileAttrib() {
    attrib_->SetFileAttrib();
}

void MainForm::cmdAdd_Click() {
    typeEditing_->cmdAdd_Click();
}
void MainForm::mAddType_Click() {
    cmdAdd_Click();
}
void MainForm::cmdRemove_Click() {
    typeEditing_->cmdRemove_Click();
}
void MainForm::mDelType_Click() {
    cmdRemove_Click();
}
void MainForm::mResetType_Click() {
    typeEditing_->mResetType_Click();
}
void MainForm::mAddLinuxTypes_Click() {
    typeEditing_->mAddLinuxTypes_Click();
}
void MainForm::mTSelAll_Click() {
    typeEditing_->mTSelAll_Click();
}
void MainForm::mTUSelAll_Click() {
    typeEditing_->mTUSelAll_Click();
}
void MainForm::mTChSel_Click() {
    typeEditing_->mTChSel_Click();
}
void MainForm::lstPat_Click() {
    typeEditing_->lstPat_Click();
}
void MainForm::lstPat_MouseUp(int button, int shift) {
    typeEditing_->lstPat_MouseUp(button, shift);
}
void MainForm::mReportType_Click() {
    descriptions_->mReportType_Click();
}

void MainForm::cmdFindFile_Click() {
    singleSearch_->cmdFindFile_Click();
}
void MainForm::mFindFile_Click() {
    cmdFindFile_Click();
}
// The button only runs the menu item's procedure.
void MainForm::cmdListTempFile_Click() {
    mListtempfiles_Click();
}
void MainForm::mListtempfiles_Click() {
    tempListing_->mListtempfiles_Click();
}

void MainForm::ViewInfo(const std::string& filename) {
    report_->ViewInfo(filename);
}
void MainForm::mSaveList_Click() {
    report_->mSaveList_Click();
}

void MainForm::mHomePage_Click() {
    about_->mHomePage_Click();
}
void MainForm::mAbout_Click() {
    about_->mAbout_Click();
}

}  // namespace scourix
