#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"
#include "infowin/InfoContent.h"

namespace scourix {
namespace {

using Calls = std::vector<std::string>;
using InfoWindowTest = FormFixture;

TEST_F(InfoWindowTest, EachUseLoadsAFreshWindowFilledBeforeItIsShownAndUnloadsIt) {
    fake.window.onShowInfo = [](const FakeInfoWindow::Record& r) {
        EXPECT_EQ(r.text, "第一行\r\n第二行");
        EXPECT_EQ(r.heading, "错误信息");
        EXPECT_FALSE(r.unloaded);
    };
    showInfo(fake.window, {"错误信息", "第一行\r\n第二行", kRed, kCream, {}});
    fake.window.onShowInfo = nullptr;
    showInfo(fake.window, {"关于", "", kBlue, kWhite, {}});  // an empty text still shows
    ASSERT_EQ(fake.window.infoWindows.size(), 2u);
    const auto& first = *fake.window.infoWindows[0];
    EXPECT_EQ(first.calls, (Calls{"setText", "setTextColors", "setHeading", "showModal"}));
    EXPECT_EQ(first.textColor, kRed);
    EXPECT_TRUE(first.unloaded);
    const auto& second = fake.window.lastInfo();
    EXPECT_EQ(second.background, kWhite);
    EXPECT_EQ(second.shown, 1);
    EXPECT_TRUE(second.unloaded);
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
              (Calls{"/opt/scourix/scourix-home.html", "/scourix-home.html"}));
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

}  // namespace
}  // namespace scourix
