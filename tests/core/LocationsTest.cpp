#include "FormFixture.h"
#include "scan/Locations.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;
using LocationsTest = FormFixture;

// A volume without a readable medium stays listed, unticked, without a word.
TEST_F(LocationsTest, StartUpListsTheVolumesTickingTheReadableOnesThenTheTempEntry) {
    fake.fs.volumeList = {"/", "/media/usb/", "/mnt/cdrom/", "/home/"};
    fake.fs.addFolder("/media/usb");
    fake.fs.failOn(FsOp::Probe, "/home/", {5, "Input/output error"});
    Locations(state).fill();
    EXPECT_EQ(fake.lstDrive.texts(),
              (Texts{"/", "/media/usb/", "/mnt/cdrom/", "/home/", "临时文件夹"}));
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, false, false, true}));
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(LocationsTest, AddedLocationsGoOnTopUntickedExactlyAsTyped) {
    fake.lstDrive.setTexts({"/", "临时文件夹"});
    fake.lstDrive.setAllChecked(true);
    fake.dialogs.inputs = {"/srv/work", "", "/data/", "   ", "/data/"};  // "": cancelled
    form.mAddPath_Click();
    for (int i = 0; i < 4; ++i) {
        form.cmdAddPath_Click();
    }
    EXPECT_EQ(fake.lstDrive.texts(),
              (Texts{"/data/", "   ", "/data/", "/srv/work", "/", "临时文件夹"}));
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{false, false, false, false, true, true}));
    const auto& box = fake.dialogs.inputBoxes.at(4);
    EXPECT_EQ(box.prompt + "|" + box.title + "|" + box.defaultText, "请输入新的位置|添加位置|");
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

// Only the right button opens the menu; its commands act on every entry in one update.
TEST_F(LocationsTest, RightButtonMenuActsOnEveryEntryInOneUpdate) {
    for (int button : {kLeftButton, kMiddleButton, kRightButton}) {
        form.lstDrive_MouseUp(button, 1);
    }
    EXPECT_EQ(fake.window.popupMenus, (Texts{"PopDrive"}));
    fake.lstDrive.setTexts({"/data/", "/", "临时文件夹"});
    fake.lstDrive.setChecked(2, true);
    form.mDChSell_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, false}));
    form.mDUSelAll_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{false, false, false}));
    form.mDSelAll_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, true}));
    EXPECT_EQ(std::pair(fake.lstDrive.repaints, fake.lstDrive.bulkCalls), std::pair(3, 3));
}

}  // namespace
}  // namespace scourix
