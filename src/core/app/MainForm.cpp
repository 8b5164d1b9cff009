#include "app/MainForm.h"

#include "app/About.h"
#include "app/Layout.h"
#include "app/Startup.h"
#include "results/ListReport.h"
#include "results/ResultList.h"
#include "scan/Locations.h"
#include "scan/ScanDriver.h"
#include "types/TypeListStore.h"

namespace scourix {

MainForm::MainForm(Platform platform)
    : state_(platform),
      types_(std::make_unique<TypeListStore>(state_)),
      locations_(std::make_unique<Locations>(state_)),
      startup_(std::make_unique<Startup>(state_, *locations_, *types_)),
      layout_(std::make_unique<Layout>(state_)),
      about_(std::make_unique<About>(state_)),
      results_(std::make_unique<ResultList>(state_)),
      report_(std::make_unique<ListReport>(state_)),
      scan_(std::make_unique<ScanDriver>(
          state_, ScanDriver::Hooks{
                      .setEn = [this](bool en) { SetEn(en); },
                      .setSelectAll = [this](int value) { setSelectAll(value); },
                      .viewInfo = [this](const std::string& name) { ViewInfo(name); },
                  })) {}

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
    types_->LoadTypeList();
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
