#include <gtest/gtest.h>

#include <string>

#include "DiskForm.h"
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
    test::DiskForm disk(dir.path());
    disk.scan(dir.path(), "*.tmp");
    auto& fake = disk.fake;
    auto& fs = disk.fs;
    ASSERT_EQ(
        fake.lstFound.texts(),
        (std::vector<std::string>{dir / "a\nb.tmp", dir / "c\rd\x01.tmp", dir / "tab\t.tmp"}));

    const std::string report = dir / "report.txt";
    disk.form.ViewInfo(report);
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
