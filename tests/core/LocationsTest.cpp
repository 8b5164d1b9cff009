#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"
#include "scan/Locations.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

class LocationsTest : public FormFixture {
protected:
    Locations locations{state};

    void fillWith(Texts texts, Ticks ticks) {
        fake.lstDrive.setTexts(texts);
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            fake.lstDrive.setChecked(i, ticks[i]);
        }
    }
};

TEST_F(LocationsTest, StartUpListsTheVolumesTickingTheReadableOnesThenTheTempEntry) {
    fake.fs.volumeList = {"/", "/media/usb/", "/mnt/cdrom/", "/home/"};
    fake.fs.addFolder("/media/usb");
    fake.fs.addFolder("/home");
    fake.fs.failOn(FsOp::Probe, "/home/", {5, "Input/output error"});
    locations.fill();
    EXPECT_EQ(fake.lstDrive.texts(),
              (Texts{"/", "/media/usb/", "/mnt/cdrom/", "/home/", "临时文件夹"}));
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, false, false, true}));
    EXPECT_EQ(fake.fs.callCount(FsOp::Probe), 4);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(LocationsTest, WithoutVolumesOnlyTheTempEntryIsListed) {
    fake.fs.volumeList.clear();
    locations.fill();
    EXPECT_EQ(fake.lstDrive.texts(), (Texts{"临时文件夹"}));
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true}));
}

TEST_F(LocationsTest, AddedLocationsGoOnTopUntickedExactlyAsTyped) {
    fillWith({"/", "临时文件夹"}, {true, true});
    fake.dialogs.inputs = {"/srv/work", "/data/", "   ", "/data/"};
    for (int i = 0; i < 3; ++i) {
        form.cmdAddPath_Click();
    }
    form.mAddPath_Click();
    EXPECT_EQ(fake.lstDrive.texts(),
              (Texts{"/data/", "   ", "/data/", "/srv/work", "/", "临时文件夹"}));
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{false, false, false, false, true, true}));
    ASSERT_EQ(fake.dialogs.inputBoxes.size(), 4u);
    for (const auto& box : fake.dialogs.inputBoxes) {
        EXPECT_EQ(box.prompt, "请输入新的位置");
        EXPECT_EQ(box.title, "添加位置");
        EXPECT_EQ(box.defaultText, "");
    }
}

TEST_F(LocationsTest, CancelOrAnEmptyAnswerAddsNothing) {
    fillWith({"/", "临时文件夹"}, {true, true});
    fake.dialogs.inputs = {""};
    form.cmdAddPath_Click();  // confirmed empty
    form.cmdAddPath_Click();  // cancelled
    EXPECT_EQ(fake.lstDrive.texts(), (Texts{"/", "临时文件夹"}));
    EXPECT_EQ(fake.dialogs.inputBoxes.size(), 2u);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(LocationsTest, OnlyTheRightButtonOpensTheLocationMenu) {
    form.lstDrive_MouseUp(kLeftButton, 0);
    form.lstDrive_MouseUp(kMiddleButton, 0);
    EXPECT_TRUE(fake.window.popupMenus.empty());
    form.lstDrive_MouseUp(kRightButton, 1);
    EXPECT_EQ(fake.window.popupMenus, (Texts{"PopDrive"}));
}

TEST_F(LocationsTest, TickCommandsActOnEveryEntryAndRepaintOnce) {
    fillWith({"/data/", "/", "/media/usb/", "临时文件夹"}, {false, false, false, true});
    form.mDChSell_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, true, false}));
    form.mDUSelAll_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{false, false, false, false}));
    form.mDSelAll_Click();
    EXPECT_EQ(fake.lstDrive.checks(), (Ticks{true, true, true, true}));
    EXPECT_EQ(fake.lstDrive.repaints, 3);
    EXPECT_EQ(fake.lstDrive.bulkCalls, 3);
    EXPECT_EQ(fake.lstDrive.texts(), (Texts{"/data/", "/", "/media/usb/", "临时文件夹"}));
}

}  // namespace
}  // namespace scourix
