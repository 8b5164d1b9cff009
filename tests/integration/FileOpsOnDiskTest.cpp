#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using test::contentOf;
using test::exists;

// Links, bytes that are not UTF-8, read-only files and ".del" names on a real disk.
TEST(FileOpsOnDiskTest, DeletionsActOnTheExactFileAndNeverReplace) {
    for (const bool temporary : {false, true}) {
        test::TempFolder dir;
        FakePlatform fake;
        PosixFileSystem fs{dir.path()};
        MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls,
                               fake.dialogs, fake.window, fs, fake.shell, fake.clock}};
        dir.link("link.tmp", dir.file("target", "T"));
        for (const char* name : {"\xff\xfe.tmp", "B.BAK", "B.BAK.del", "X.del"}) {
            dir.file(name, name);
        }
        ASSERT_EQ(::chmod(dir.file("ro.tmp", "r").c_str(), 0444), 0);
        const std::vector<std::string> names{"link.tmp", "\xff\xfe.tmp", "B.BAK", "X.del",
                                             "ro.tmp"};
        for (const std::string& name : names) {
            fake.lstFound.append(dir / name);
        }
        fake.lstFound.setAllChecked(true);
        fake.dialogs.answers = {mb::kIdYes, mb::kIdNo, mb::kIdYes};
        (form.*(temporary ? &MainForm::cmdDeltmp_Click : &MainForm::cmdKill_Click))();

        const std::string failed = temporary ? "B.BAK" : "ro.tmp";
        const std::string why = temporary ? "File exists" : "Permission denied";
        EXPECT_EQ(fake.lstFound.checkedTexts(), std::vector<std::string>{dir / failed});
        const std::string& report = fake.window.lastInfo().text;
        EXPECT_EQ(report.substr(report.find("-\r\n") + 3),
                  "1\x1a " + (dir / failed) + "\x1a[" + why + "]\r\n");
        for (const std::string& name : names) {
            EXPECT_EQ(exists(dir / name), name == failed) << name;
            EXPECT_EQ(exists(dir / name + ".del"), temporary || name == "B.BAK") << name;
        }
        EXPECT_EQ(contentOf(dir / "target"), "T");
        EXPECT_EQ(contentOf(dir / "B.BAK.del"), "B.BAK.del");
        EXPECT_TRUE(!temporary || S_ISLNK(test::modeOf(dir / "link.tmp.del")));
    }
}

}  // namespace
}  // namespace scourix
