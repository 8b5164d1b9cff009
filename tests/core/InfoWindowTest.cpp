#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"
#include "infowin/InfoContent.h"

namespace scourix {
namespace {

using Calls = std::vector<std::string>;

using InfoWindowTest = FormFixture;

TEST_F(InfoWindowTest, LoadsFillsShowsModallyAndUnloads) {
    bool seenWhileShown = false;
    fake.window.onShowInfo = [&](const FakeInfoWindow::Record& r) {
        // Everything is in place when the window appears, and it is still loaded.
        seenWhileShown = true;
        EXPECT_EQ(r.text, "第一行\r\n第二行");
        EXPECT_EQ(r.heading, "错误信息");
        EXPECT_FALSE(r.unloaded);
    };
    showInfo(fake.window, {.heading = "错误信息",
                           .text = "第一行\r\n第二行",
                           .textColor = kRed,
                           .background = kCream,
                           .fontPoints = {}});
    EXPECT_TRUE(seenWhileShown);
    ASSERT_EQ(fake.window.infoWindows.size(), 1u);
    const auto& r = fake.window.lastInfo();
    EXPECT_EQ(r.calls, (Calls{"setText", "setTextColors", "setHeading", "showModal"}));
    EXPECT_EQ(r.textColor, kRed);
    EXPECT_EQ(r.background, kCream);
    EXPECT_FALSE(r.fontPoints.has_value());
    EXPECT_EQ(r.shown, 1);
    EXPECT_TRUE(r.unloaded);
}

TEST_F(InfoWindowTest, EveryUseStartsFromAFreshWindow) {
    showInfo(fake.window, {.heading = "关于", .text = "a", .fontPoints = 15.0});
    showInfo(fake.window, {.heading = "文件类型的详细说明",
                           .text = "",
                           .textColor = kBlue,
                           .background = kWhite,
                           .fontPoints = {}});
    ASSERT_EQ(fake.window.infoWindows.size(), 2u);
    const auto& second = *fake.window.infoWindows[1];
    EXPECT_EQ(second.heading, "文件类型的详细说明");
    EXPECT_EQ(second.text, "");
    EXPECT_EQ(second.background, kWhite);
    EXPECT_FALSE(second.fontPoints.has_value());
    EXPECT_EQ(second.shown, 1);  // an empty text still opens the window
    EXPECT_TRUE(fake.window.infoWindows[0]->unloaded);
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
    EXPECT_EQ(r.calls.back(), "showModal");
    EXPECT_TRUE(r.unloaded);
    // Lines are broken with CR LF only.
    for (std::size_t i = r.text.find('\n'); i != std::string::npos; i = r.text.find('\n', i + 1)) {
        EXPECT_EQ(r.text[i - 1], '\r');
    }
}

TEST_F(InfoWindowTest, HomePageOpensThePageBesideTheProgram) {
    form.mHomePage_Click();
    EXPECT_EQ(fake.shell.openedDocuments, (Calls{"/opt/scourix/scourix-home.html"}));

    fake.fs.program = "";  // a program in the root folder
    fake.shell.outcome = OpenOutcome::Failed;
    form.mHomePage_Click();
    EXPECT_EQ(fake.shell.openedDocuments.back(), "/scourix-home.html");
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_TRUE(fake.window.infoWindows.empty());
}

}  // namespace
}  // namespace scourix
