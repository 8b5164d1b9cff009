#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "DiskForm.h"
#include "platform/posix/DpkgDatabase.h"

namespace scourix {
namespace {

using test::Texts;
namespace fsys = std::filesystem;

// Files that an installed package owns, by its list or by a diversion, are system files: a
// scan leaves them out, or counts them and then drops them when system files are included,
// and no command acts on one that a package installed after the scan; the program's own
// files are found all the same.
class PackageFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.folder("a");
        owned = tree.file("a/compose.dir", "12345");
        mine = tree.file("a/mine.dir", "1");
        diverted = tree.file("a/libx.chk.distrib", "22");
        admin.file("diversions",
                   "/lib/libx.chk\n" + fsys::canonical(diverted).string() + "\nsome-package\n");
        own({owned});
    }
    // The package list now: these paths, spelled as dpkg spells them (no links).
    void own(const Texts& paths) {
        std::string list;
        for (const std::string& p : paths) {
            list += fsys::canonical(p).string() + "\n";
        }
        fsys::create_directories(admin / "info");
        test::TempFolder::write(admin / "info/pkg.list", list);
    }
    Texts scan(const std::string& location, bool skipSystem = true) {
        disk.fake.controls.setValue("chkSystemFile", skipSystem ? 1 : 0);
        return disk.scan({location}, {"*.dir", "*.chk*"});
    }

    test::TempFolder tree, admin;
    std::string owned, mine, diverted;
    test::DiskForm disk{tree.path(),
                        std::make_shared<DpkgDatabase>(admin.path(), std::chrono::nanoseconds(0))};
};

TEST_F(PackageFilesTest, AreLeftOutOrDroppedAndNeverActedOnWhenTheDatabaseChanges) {
    // Left out as the walk meets them, below the location too: never counted.
    EXPECT_EQ(scan(tree.path()), Texts{mine});
    EXPECT_EQ(disk.summary(), "找到 1个文件，共1 字节。");
    // Reached through the user's own link, the files are the same.
    EXPECT_EQ(scan(tree.link("via", tree / "a")), Texts{tree / "via/mine.dir"});
    EXPECT_EQ(disk.summary(), "找到 1个文件，共1 字节。");
    // Included, they are counted and then leave the list.
    EXPECT_EQ(scan(tree.path(), false), Texts{mine});
    EXPECT_EQ(disk.summary(), "找到 3个文件，共8 字节。");
    // A package installed between two scans, and a database that is gone.
    own({owned, mine});
    EXPECT_EQ(scan(tree.path()), Texts{});
    fsys::remove_all(admin / "info");
    fsys::remove(admin / "diversions");
    ASSERT_EQ(scan(tree.path()), (Texts{owned, mine, diverted}));
    // No command acts on a file that a package installed after the scan.
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

}  // namespace
}  // namespace scourix
