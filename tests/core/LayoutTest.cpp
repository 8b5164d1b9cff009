#include "FormFixture.h"

namespace scourix {
namespace {

using LayoutTest = FormFixture;

// Each resize starts from what the one before it left: a negative width or height is
// refused and the control keeps its size, zero is taken, tops may go negative, and nothing
// moves while the window is minimised.
TEST_F(LayoutTest, ControlsFollowTheClientAreaAndKeepSizesThatWouldBeNegative) {
    const std::pair<const char*, int Rect::*> columns[] = {
        {"lblInfo", &Rect::top},     {"lblInfo", &Rect::width},     {"lstFound", &Rect::width},
        {"lstFound", &Rect::height}, {"chkSystemFile", &Rect::top}, {"chkHideFile", &Rect::top},
        {"cmdAdd", &Rect::top},      {"cmdRemove", &Rect::top},     {"lstPat", &Rect::height},
        {"Picture1", &Rect::left}};
    // Minimised, width, height, then the columns.
    const std::vector<std::vector<int>> steps = {
        {0, 10230, 7695, 7440, 10130, 7970, 5280, 7085, 6730, 6255, 6255, 2555, 9855},
        {0, 12000, 9000, 8745, 11900, 9740, 6585, 8390, 8035, 7560, 7560, 3860, 11625},
        {0, 2260, 2415, 2160, 2160, 0, 0, 1805, 1450, 975, 975, 3860, 1885},
        {0, 10230, 500, 245, 10130, 7970, 0, -110, -465, -940, -940, 3860, 9855},
        {0, 1000, 9000, 8745, 900, 7970, 6585, 8390, 8035, 7560, 7560, 3860, 625},
        {0, 50, 9000, 8745, 900, 7970, 6585, 8390, 8035, 7560, 7560, 3860, -325},
        {0, 8000, 6000, 5745, 7900, 5740, 3585, 5390, 5035, 4560, 4560, 860, 7625},
        {1, 50, 0, 5745, 7900, 5740, 3585, 5390, 5035, 4560, 4560, 860, 7625},
    };
    for (const std::vector<int>& s : steps) {
        fake.window.isMinimized = s[0] != 0;
        fake.window.width = s[1];
        fake.window.height = s[2];
        form.Form_Resize();
        std::vector<int> got(s.begin(), s.begin() + 3);
        for (const auto& [name, field] : columns) {
            got.push_back(fake.controls.geometry(name).*field);
        }
        EXPECT_EQ(got, s);
    }
    EXPECT_EQ(fake.controls.geometry("cmdFind"), (Rect{2160, 1440, 1575, 375}));  // never moves
}

}  // namespace
}  // namespace scourix
