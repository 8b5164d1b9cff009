#include <gtest/gtest.h>

#include <map>
#include <string>

#include "FormFixture.h"

namespace scourix {
namespace {

class LayoutTest : public FormFixture {
protected:
    Rect at(const std::string& name) { return fake.controls.geometry(name); }
    void resize(int w, int h) {
        fake.window.width = w;
        fake.window.height = h;
        form.Form_Resize();
    }
};

TEST_F(LayoutTest, StretchesAndStacksToTheClientArea) {
    resize(12000, 9000);
    EXPECT_EQ(at("lblInfo"), (Rect{0, 8745, 11900, 255}));
    EXPECT_EQ(at("lstFound"), (Rect{2160, 2160, 9740, 6585}));
    EXPECT_EQ(at("chkSystemFile"), (Rect{120, 8390, 1815, 255}));
    EXPECT_EQ(at("chkHideFile"), (Rect{120, 8035, 1815, 255}));
    EXPECT_EQ(at("cmdAdd"), (Rect{120, 7560, 735, 375}));
    EXPECT_EQ(at("cmdRemove"), (Rect{960, 7560, 735, 375}));
    EXPECT_EQ(at("lstPat"), (Rect{120, 3600, 1815, 3860}));
    EXPECT_EQ(at("Picture1"), (Rect{11625, 0, 375, 615}));
}

TEST_F(LayoutTest, TheTopAreaKeepsItsDesignPlace) {
    std::map<std::string, Rect> before;
    for (const char* name : {"cmdFind", "cmdStopFind", "cmdClose", "lstDrive", "cmdAddPath",
                             "Label1", "Label2", "Label3", "chkSelAll", "Image1"}) {
        before[name] = at(name);
    }
    resize(19200, 14000);
    resize(6000, 4000);
    for (const auto& [name, r] : before) {
        EXPECT_EQ(at(name), r) << name;
    }
}

TEST_F(LayoutTest, TheFirstDisplayReplacesTheDesignValues) {
    resize(10230, 7695);
    EXPECT_EQ(at("lblInfo"), (Rect{0, 7440, 10130, 255}));
    EXPECT_EQ(at("lstFound"), (Rect{2160, 2160, 7970, 5280}));
    EXPECT_EQ(at("cmdAdd").top, 6255);
    EXPECT_EQ(at("lstPat").height, 2555);
    EXPECT_EQ(at("Picture1").left, 9855);
}

TEST_F(LayoutTest, HeightsThatWouldBeNegativeAreKeptAndTheOtherStepsStillApply) {
    resize(12000, 9000);
    resize(10230, 2000);
    EXPECT_EQ(at("lblInfo"), (Rect{0, 1745, 10130, 255}));
    EXPECT_EQ(at("lstFound").height, 6585);  // 2000 - 255 - 2160 < 0: kept
    EXPECT_EQ(at("lstFound").width, 7970);
    EXPECT_EQ(at("chkSystemFile").top, 1390);
    EXPECT_EQ(at("chkHideFile").top, 1035);
    EXPECT_EQ(at("cmdAdd").top, 560);
    EXPECT_EQ(at("cmdRemove").top, 560);
    EXPECT_EQ(at("lstPat").height, 3860);  // 560 - 3600 - 100 < 0: kept

    resize(10230, 500);  // tops may go negative
    EXPECT_EQ(at("lblInfo").top, 245);
    EXPECT_EQ(at("chkSystemFile").top, -110);
    EXPECT_EQ(at("cmdAdd").top, -940);
    EXPECT_EQ(at("cmdRemove").top, -940);
}

TEST_F(LayoutTest, WidthsThatWouldBeNegativeAreKept) {
    resize(1000, 9000);
    EXPECT_EQ(at("lblInfo").width, 900);
    EXPECT_EQ(at("lstFound").width, 7815);  // 900 - 2160 < 0: the design width stays
    resize(50, 9000);
    EXPECT_EQ(at("lblInfo").width, 900);  // -50 refused
    EXPECT_EQ(at("lstFound").width, 7815);
    EXPECT_EQ(at("Picture1").left, -325);
}

TEST_F(LayoutTest, NothingHappensWhileMinimisedAndRestoringRecomputes) {
    resize(12000, 9000);
    fake.controls.geometryLog.clear();
    fake.window.isMinimized = true;
    resize(0, 0);
    EXPECT_TRUE(fake.controls.geometryLog.empty());
    EXPECT_EQ(at("lblInfo").top, 8745);

    fake.window.isMinimized = false;
    resize(8000, 6000);
    EXPECT_EQ(at("lblInfo"), (Rect{0, 5745, 7900, 255}));
    EXPECT_EQ(at("Picture1").left, 7625);
}

}  // namespace
}  // namespace scourix
