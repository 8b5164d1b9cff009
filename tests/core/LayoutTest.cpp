#include <gtest/gtest.h>

#include "FormFixture.h"

namespace scourix {
namespace {

using LayoutTest = FormFixture;

// Each resize starts from what the one before it left: a negative width or height is
// refused and the control keeps its size, while tops may go negative.
TEST_F(LayoutTest, ResizesFollowTheClientAreaAndKeepSizesThatWouldBeNegative) {
    const std::vector<std::vector<int>> steps = {
        // width, height: lblInfo top, width; lstFound width, height; chkSystemFile top,
        // chkHideFile top, cmdAdd and cmdRemove top, lstPat height, Picture1 left
        {10230, 7695, 7440, 10130, 7970, 5280, 7085, 6730, 6255, 2555, 9855},
        {12000, 9000, 8745, 11900, 9740, 6585, 8390, 8035, 7560, 3860, 11625},
        {10230, 2000, 1745, 10130, 7970, 6585, 1390, 1035, 560, 3860, 9855},
        {10230, 500, 245, 10130, 7970, 6585, -110, -465, -940, 3860, 9855},
        {1000, 9000, 8745, 900, 7970, 6585, 8390, 8035, 7560, 3860, 625},
        {50, 9000, 8745, 900, 7970, 6585, 8390, 8035, 7560, 3860, -325},
        {8000, 6000, 5745, 7900, 5740, 3585, 5390, 5035, 4560, 860, 7625},
    };
    const auto g = [&](const char* name) { return fake.controls.geometry(name); };
    const std::pair<const char*, int Rect::*> columns[] = {
        {"lblInfo", &Rect::top},     {"lblInfo", &Rect::width},     {"lstFound", &Rect::width},
        {"lstFound", &Rect::height}, {"chkSystemFile", &Rect::top}, {"chkHideFile", &Rect::top},
        {"cmdAdd", &Rect::top},      {"lstPat", &Rect::height},     {"Picture1", &Rect::left}};
    for (const std::vector<int>& s : steps) {
        fake.window.width = s[0];
        fake.window.height = s[1];
        form.Form_Resize();
        std::vector<int> got = {s[0], s[1]};
        for (const auto& [name, field] : columns) {
            got.push_back(g(name).*field);
        }
        EXPECT_EQ(got, s);
        EXPECT_EQ(g("cmdRemove").top, g("cmdAdd").top);
    }
    EXPECT_EQ(g("cmdFind"), (Rect{2160, 1440, 1575, 375}));  // the top keeps its place
}

TEST_F(LayoutTest, NothingMovesWhileMinimised) {
    const Rect before = fake.controls.geometry("lblInfo");
    fake.window.isMinimized = true;
    fake.window.height = 0;
    form.Form_Resize();
    EXPECT_EQ(fake.controls.geometry("lblInfo"), before);
}

}  // namespace
}  // namespace scourix
