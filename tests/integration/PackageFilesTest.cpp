// Files that an installed package owns are system files: a scan leaves them out, or lists
// and counts them and then drops them when system files are included, and no command acts
// on one that a package installed after the scan. The program's own files are found all
// the same.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "DiskForm.h"
#include "platform/posix/DpkgDatabase.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using test::DiskForm;
using test::TempFolder;
using Texts = std::vector<std::string>;

class PackageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.folder("a");
        owned = tree.file("a/compose.dir", "12345");
        mine = tree.file("a/mine.dir", "1");
        diverted = tree.file("a/libx.chk.distrib", "22");
        admin.folder("info");
        admin.file("diversions", "/lib/libx.chk\n" + std::filesystem::canonical(diverted).string() +
                                     "\nsome-package\n");
        own({owned});
    }

    // The package list now: these paths, spelled as dpkg spells them (no links).
    void own(const Texts& paths) {
        std::string list;
        for (const std::string& p : paths) {
            list += std::filesystem::canonical(p).string() + "\n";
        }
        TempFolder::write(admin / "info/pkg.list", list);
    }

    Texts scan(const std::string& location, bool skipSystem = true) {
        disk.fake.controls.setValue("chkSystemFile", skipSystem ? 1 : 0);
        disk.fake.lstDrive.setTexts({location, "临时文件夹"});
        disk.fake.lstDrive.setChecked(0, true);
        disk.fake.lstPat.setTexts({"*.dir", "*.chk*"});
        disk.fake.lstPat.setAllChecked(true);
        disk.fake.dialogs.answers = {mb::kIdNo};
        disk.form.cmdFind_Click();
        return disk.fake.lstFound.texts();
    }

    TempFolder tree;
    TempFolder admin;
    std::string owned, mine, diverted;
    DiskForm disk{tree.path(),
                  std::make_shared<DpkgDatabase>(admin.path(), std::chrono::nanoseconds(0))};
};

TEST_F(PackageFilesTest, AreLeftOutOrCountedAndDroppedAndAChangedDatabaseIsSeen) {
    EXPECT_EQ(scan(tree.path()), Texts{mine});
    // Reached through the user's own link, the files are the same.
    EXPECT_EQ(scan(tree.link("via", tree / "a")), Texts{tree / "via/mine.dir"});
    // Included, they are counted in the summary and then leave the list.
    EXPECT_EQ(scan(tree.path(), false), Texts{mine});
    EXPECT_TRUE(disk.fake.dialogs.boxes.back().text.starts_with("找到 3个文件，共8 字节。"));
    // A package installed between two scans, and a database that is gone.
    own({owned, mine});
    EXPECT_EQ(scan(tree.path()), Texts{});
    ::unlink((admin / "info/pkg.list").c_str());
    ::unlink((admin / "diversions").c_str());
    ::rmdir((admin / "info").c_str());
    EXPECT_EQ(scan(tree.path()), (Texts{owned, mine, diverted}));
}

TEST_F(PackageFilesTest, NoCommandActsOnAFileAPackageInstalledAfterTheScan) {
    own({});
    ::unlink((admin / "diversions").c_str());
    ASSERT_EQ(scan(tree.path()), (Texts{owned, mine, diverted}));
    own({owned, mine});
    auto& fake = disk.fake;
    fake.lstFound.setCurrentIndex(0);
    fake.dialogs.inputs = {"new.dir"};
    disk.form.mRename_Click();
    EXPECT_EQ(fake.dialogs.inputBoxes.back().defaultText, "");
    EXPECT_EQ(fake.dialogs.boxes.back().text, "No such file or directory");
    fake.lstFound.setAllChecked(true);
    fake.dialogs.answers = {mb::kIdYes, mb::kIdYes};
    disk.form.cmdKill_Click();
    // The owned files leave the list untouched; the other one is deleted.
    EXPECT_EQ(fake.lstFound.count(), 0u);
    EXPECT_TRUE(test::exists(owned) && test::exists(mine) && !test::exists(diverted));
    EXPECT_EQ(test::modeOf(owned) & 0777, 0644u);
}

TEST_F(PackageFilesTest, TheProgramsOwnFilesAreFoundWhenAPackageInstalledThem) {
    own({tree.file("TypeList.ini", "1*.own\r\n")});
    disk.form.Form_Load();
    EXPECT_EQ(disk.fake.lstPat.texts(), Texts{"*.own"});
}

// On this machine: the X11 locale tables are package files with junk-like names.
TEST(PackageFilesOnThisMachine, TheX11LocaleTablesAreNeverListed) {
    const std::string locale = "/usr/share/X11/locale";
    if (::access("/var/lib/dpkg/info", R_OK) != 0 ||
        ::access((locale + "/compose.dir").c_str(), R_OK) != 0) {
        GTEST_SKIP() << "no dpkg database or no X11 locale tables here";
    }
    DiskForm disk(locale);
    disk.form.Form_Load();  // the built-in patterns, all ticked
    disk.fake.lstDrive.setTexts({locale, "临时文件夹"});
    disk.fake.lstDrive.setChecked(0, true);
    disk.fake.dialogs.answers = {mb::kIdNo};
    disk.form.cmdFind_Click();
    EXPECT_EQ(disk.fake.lstFound.texts(), Texts{});
    EXPECT_EQ(std::system(("find " + locale + " -name compose.dir | grep -q .").c_str()), 0);
}

}  // namespace
}  // namespace scourix
