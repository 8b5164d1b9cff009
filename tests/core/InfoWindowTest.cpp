#include "FormFixture.h"

namespace scourix {
namespace {

using InfoWindowTest = FormFixture;

// Each use loads a fresh window, fills it, shows it once and unloads it.
TEST_F(InfoWindowTest, AboutShowsProductAndVersionInItsOwnColoursInAFreshWindowEachTime) {
    std::vector<FakeInfoWindow::Record> atShow;  // as the user sees it on screen
    fake.window.onShowInfo = [&](const FakeInfoWindow::Record& r) { atShow.push_back(r); };
    form.mAbout_Click();
    form.mAbout_Click();
    const auto& loaded = fake.window.infoWindows;
    EXPECT_TRUE(loaded.size() == 2 && loaded[0]->unloaded && loaded[1]->unloaded);
    ASSERT_EQ(atShow.size(), 2u);
    for (const FakeInfoWindow::Record& r : atShow) {
        EXPECT_FALSE(r.unloaded);
        EXPECT_EQ(r.heading, "关于“Scourix”");
        EXPECT_NE(r.text.find("Scourix 1.51"), std::string::npos);
        EXPECT_EQ(r.textColor, kBlue);
        EXPECT_EQ(r.background, (Color{150, 180, 165}));
        EXPECT_EQ(r.fontPoints, 15.0);
    }
    // Lines are broken with CR LF only.
    const std::string& text = fake.window.lastInfo().text;
    for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
        EXPECT_EQ(text[i - 1], '\r');
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
