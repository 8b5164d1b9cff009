#include "app/MainForm.h"

#include "app/About.h"
#include "app/Layout.h"
#include "app/Startup.h"
#include "scan/Locations.h"
#include "types/TypeListStore.h"

namespace scourix {

MainForm::MainForm(Platform platform)
    : state_(platform),
      types_(std::make_unique<TypeListStore>(state_)),
      locations_(std::make_unique<Locations>(state_)),
      startup_(std::make_unique<Startup>(state_, *locations_, *types_)),
      layout_(std::make_unique<Layout>(state_)),
      about_(std::make_unique<About>(state_)) {}

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

void MainForm::mHomePage_Click() {
    about_->mHomePage_Click();
}
void MainForm::mAbout_Click() {
    about_->mAbout_Click();
}

}  // namespace scourix
