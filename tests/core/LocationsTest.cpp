#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"
#include "scan/Locations.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;
using LocationsTest = FormFixture;

TEST_F(LocationsTest, StartUpListsTheVolumesTickingTheReadableOnesThenTheTempEntry) {
    fake.fs.volumeList = {"/", "/media/usb/", "/mnt/cdrom/", "/home/"};
    fake.fs.addFolder("/media/usb");
    fake.fs.addFolder("/home");
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
    fake.dialogs.inputs = {"/srv/work", "", "/data/", "   ", "/data/"};
    for (int i = 0; i < 4; ++i) {
        form.cmdAddPath_Click();
    }
    form.mAddPath_Click();
    form.cmdAddPath_Click();  // cancelled
    EXPECT_EQ(fake.lstDrive.texts(),
              (Texts{"/data/", "   ", "/data/", "/srv/work", "/", "临时文件夹"}));
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{false, false, false, false, true, true}));
    ASSERT_EQ(fake.dialogs.inputBoxes.size(), 6u);
    const auto& box = fake.dialogs.inputBoxes.back();
    EXPECT_EQ(box.prompt + "|" + box.title + "|" + box.defaultText, "请输入新的位置|添加位置|");
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(LocationsTest, OnlyTheRightButtonOpensTheLocationMenu) {
    form.lstDrive_MouseUp(kLeftButton, 0);
    form.lstDrive_MouseUp(kMiddleButton, 0);
    form.lstDrive_MouseUp(kRightButton, 1);
    EXPECT_EQ(fake.window.popupMenus, (Texts{"PopDrive"}));
}

TEST_F(LocationsTest, TickCommandsActOnEveryEntryInOneUpdate) {
    fake.lstDrive.setTexts({"/data/", "/", "/media/usb/", "临时文件夹"});
    fake.lstDrive.setChecked(3, true);
    form.mDChSell_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, true, false}));
    form.mDUSelAll_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{false, false, false, false}));
    form.mDSelAll_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, true, true}));
    EXPECT_EQ(fake.lstDrive.repaints, 3);
    EXPECT_EQ(fake.lstDrive.bulkCalls, 3);
}

}  // namespace
}  // namespace scourix
