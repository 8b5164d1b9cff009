#include <gtest/gtest.h>

#include <string>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

// Names with line breaks and control characters: listed by their exact bytes (so they can
// be deleted), written into the report each on one visible line.
TEST(OddNamesTest, ControlCharactersStayOnOneLineAndTheFilesStayReachable) {
    test::TempFolder dir;
    dir.file("a\nb.tmp", "1");
    dir.file("c\rd\x01.tmp", "22");
    dir.file("tab\t.tmp", "333");
    FakePlatform fake;
    PosixFileSystem fs(dir.path());
    MainForm form(Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock});
    fake.lstDrive.setTexts({dir.path(), "临时文件夹"});
    fake.lstDrive.setChecked(0, true);
    fake.lstPat.setTexts({"*.tmp"});
    fake.lstPat.setChecked(0, true);
    fake.dialogs.answers = {mb::kIdNo};
    form.cmdFind_Click();
    ASSERT_EQ(
        fake.lstFound.texts(),
        (std::vector<std::string>{dir / "a\nb.tmp", dir / "c\rd\x01.tmp", dir / "tab\t.tmp"}));

    const std::string report = dir / "report.txt";
    form.ViewInfo(report);
    const std::string text = fs.readText(report).value();
    for (const char* line : {"/a\\nb.tmp\r\n", "/c\\rd\\x01.tmp\r\n", "/tab\\t.tmp\r\n"}) {
        EXPECT_NE(text.find(dir.path() + line), std::string::npos) << line;
    }
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // no line end but CR LF

    for (const std::string& path : fake.lstFound.texts()) {
        EXPECT_TRUE(fs.removeFile(path)) << path;
    }
}

}  // namespace
}  // namespace scourix
