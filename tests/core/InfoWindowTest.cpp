#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"
#include "infowin/InfoContent.h"

namespace scourix {
namespace {

using InfoWindowTest = FormFixture;

TEST_F(InfoWindowTest, EachUseLoadsAFreshWindowFilledBeforeItIsShownAndUnloadsIt) {
    int shown = 0;
    fake.window.onShowInfo = [&](const FakeInfoWindow::Record& r) {
        EXPECT_EQ(r.text, "第一行\r\n第二行");
        EXPECT_EQ(r.heading, "错误信息");
        EXPECT_EQ(r.textColor, kRed);
        EXPECT_FALSE(r.unloaded);
        ++shown;
    };
    showInfo(fake.window, {"错误信息", "第一行\r\n第二行", kRed, kCream, {}});
    showInfo(fake.window, {"错误信息", "第一行\r\n第二行", kRed, kCream, {}});
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(fake.window.infoWindows.size(), 2u);
    EXPECT_TRUE(fake.window.infoWindows[0]->unloaded);
}

TEST_F(InfoWindowTest, AboutShowsProductAndVersionInItsOwnColours) {
    form.mAbout_Click();
    const auto& r = fake.window.lastInfo();
    EXPECT_EQ(r.heading, "关于“Scourix”");
    EXPECT_NE(r.text.find("Scourix 1.51"), std::string::npos);
    EXPECT_EQ(r.textColor, kBlue);
    EXPECT_EQ(r.background, (Color{150, 180, 165}));
    EXPECT_EQ(r.fontPoints, 15.0);
    EXPECT_TRUE(r.unloaded);
    // Lines are broken with CR LF only.
    for (std::size_t i = r.text.find('\n'); i != std::string::npos; i = r.text.find('\n', i + 1)) {
        EXPECT_EQ(r.text[i - 1], '\r');
    }
}

TEST_F(InfoWindowTest, HomePageOpensThePageBesideTheProgramAndShowsNoFailure) {
    form.mHomePage_Click();
    fake.fs.program = "";  // a program in the root folder
    fake.shell.outcome = OpenOutcome::Failed;
    form.mHomePage_Click();
    EXPECT_EQ(fake.shell.openedDocuments,
              (std::vector<std::string>{"/opt/scourix/scourix-home.html", "/scourix-home.html"}));
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

}  // namespace
}  // namespace scourix
