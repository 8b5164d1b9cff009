#include <gtest/gtest.h>

#include "FormFixture.h"

namespace scourix {
namespace {

using LayoutTest = FormFixture;

// Each resize starts from what the one before it left: a negative width or height is
// refused and the control keeps its size, while tops may go negative.
TEST_F(LayoutTest, ResizesFollowTheClientAreaAndKeepSizesThatWouldBeNegative) {
    struct Step {
        int width, height;
        Rect lblInfo, lstFound;
        int chkSystemTop, chkHideTop, cmdAddTop, lstPatHeight, pictureLeft;
    };
    const Step steps[] = {
        {10230,
         7695,
         {0, 7440, 10130, 255},
         {2160, 2160, 7970, 5280},
         7085,
         6730,
         6255,
         2555,
         9855},
        {12000,
         9000,
         {0, 8745, 11900, 255},
         {2160, 2160, 9740, 6585},
         8390,
         8035,
         7560,
         3860,
         11625},
        {10230, 2000, {0, 1745, 10130, 255}, {2160, 2160, 7970, 6585}, 1390, 1035, 560, 3860, 9855},
        {10230, 500, {0, 245, 10130, 255}, {2160, 2160, 7970, 6585}, -110, -465, -940, 3860, 9855},
        {1000, 9000, {0, 8745, 900, 255}, {2160, 2160, 7970, 6585}, 8390, 8035, 7560, 3860, 625},
        {50, 9000, {0, 8745, 900, 255}, {2160, 2160, 7970, 6585}, 8390, 8035, 7560, 3860, -325},
        {8000, 6000, {0, 5745, 7900, 255}, {2160, 2160, 5740, 3585}, 5390, 5035, 4560, 860, 7625},
    };
    const Controls& c = fake.controls;
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.width) + "x" + std::to_string(s.height));
        fake.window.width = s.width;
        fake.window.height = s.height;
        form.Form_Resize();
        EXPECT_EQ(c.geometry("lblInfo"), s.lblInfo);
        EXPECT_EQ(c.geometry("lstFound"), s.lstFound);
        EXPECT_EQ(c.geometry("chkSystemFile").top, s.chkSystemTop);
        EXPECT_EQ(c.geometry("chkHideFile").top, s.chkHideTop);
        EXPECT_EQ(c.geometry("cmdAdd").top, s.cmdAddTop);
        EXPECT_EQ(c.geometry("cmdRemove").top, s.cmdAddTop);
        EXPECT_EQ(c.geometry("lstPat").height, s.lstPatHeight);
        EXPECT_EQ(c.geometry("Picture1").left, s.pictureLeft);
    }
    // The top of the window keeps its design places.
    EXPECT_EQ(c.geometry("lstPat").top, 3600);
    EXPECT_EQ(c.geometry("cmdFind"), (Rect{2160, 1440, 1575, 375}));
}

TEST_F(LayoutTest, NothingMovesWhileMinimised) {
    fake.window.isMinimized = true;
    fake.window.width = 0;
    fake.window.height = 0;
    form.Form_Resize();
    EXPECT_TRUE(fake.controls.geometryLog.empty());
}

}  // namespace
}  // namespace scourix
