// Placeholder so that every layer links while the procedures are written.
#include "app/MainForm.h"

namespace scourix {

class TypeListStore {};
class Locations {};
class Startup {};
class Layout {};
class About {};

MainForm::MainForm(Platform platform) : state_(platform) {}
MainForm::~MainForm() = default;
void MainForm::Form_Load() {}
void MainForm::SetEn(bool) {}
bool MainForm::Form_Unload() {
    return false;
}
void MainForm::cmdClose_Click() {}
void MainForm::mClose_Click() {}
void MainForm::Form_Resize() {}
void MainForm::cmdAddPath_Click() {}
void MainForm::mAddPath_Click() {}
void MainForm::lstDrive_MouseUp(int, int) {}
void MainForm::mDSelAll_Click() {}
void MainForm::mDUSelAll_Click() {}
void MainForm::mDChSell_Click() {}
void MainForm::mHomePage_Click() {}
void MainForm::mAbout_Click() {}

}  // namespace scourix
