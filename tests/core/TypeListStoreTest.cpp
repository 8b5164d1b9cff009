#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "FormFixture.h"
#include "types/BuiltInTypes.h"
#include "types/TypeListStore.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Ticks = std::vector<bool>;

class TypeListStoreTest : public FormFixture {
protected:
    TypeListStore store{state};

    void load(const std::string& text) {
        fake.fs.addFile(typeListPath(), text);
        store.initialise();
    }
    std::string saved() {
        EXPECT_TRUE(store.SaveTypeList().ok());
        return fake.fs.content(typeListPath());
    }
};

TEST_F(TypeListStoreTest, WithoutAnOrdinaryFileTheBuiltInListIsTickedAndSavedInFull) {
    // A FIFO of that name, or a lookup that fails, counts as no file.
    fake.fs.addSpecial(typeListPath());
    store.initialise();
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    ::unlink(fake.fs.real(typeListPath()).c_str());
    fake.fs.failOn(FsOp::Lookup, typeListPath(), FaultyFileSystem::permissionDenied());
    store.initialise();
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    EXPECT_EQ(fake.fs.callCount(FsOp::ReadLines), 0);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    std::string expected;
    for (std::string_view p : builtInTypes()) {
        expected += "1" + std::string(p) + "\r\n";
    }
    EXPECT_EQ(saved(), expected);
}

TEST_F(TypeListStoreTest, TheFlagIsExactlyOneCharacterAndEntriesGoToSortedPlaces) {
    load(
        "7*.old\r\n"      // any digit 1-9 ticks
        "x*.olx\r\n"      // a letter does not
        "*.tmp\r\n"       // no flag: "*" is taken as one
        "1\r\n"           // the flag alone: an empty pattern
        "\r\n"            // an empty line is passed over
        "11stpass.*\r\n"  // a pattern that begins with a digit
        "0*.log  \r\n"    // trailing blanks belong to the pattern
        "1临时*.tmp\r\n"  // Chinese text
        "中*.zh\r\n"      // a Chinese flag is one character, unticked
        "0dup\r\n"        // equal texts keep their own ticks in file order
        "1dup\r\n");
    EXPECT_EQ(fake.lstPat.texts(), (Texts{"", "*.log  ", "*.old", "*.olx", "*.zh", ".tmp",
                                          "1stpass.*", "dup", "dup", "临时*.tmp"}));
    EXPECT_EQ(fake.lstPat.checks(),
              (Ticks{true, false, true, false, false, false, true, false, true, true}));
    EXPECT_EQ(saved(),
              "1\r\n0*.log  \r\n1*.old\r\n0*.olx\r\n0*.zh\r\n0.tmp\r\n11stpass.*\r\n0dup\r\n"
              "1dup\r\n1临时*.tmp\r\n");
}

TEST_F(TypeListStoreTest, AnEmptyFileGivesAnEmptyListAndIsSavedEmpty) {
    load("\r\n\r\n");
    EXPECT_EQ(fake.lstPat.count(), 0u);
    EXPECT_EQ(saved(), "");
}

}  // namespace
}  // namespace scourix

namespace scourix {
namespace {

// A program folder that cannot be written (installed for all users): the user's own copy
// in the settings folder takes the list's place.
class ProtectedProgramFolder : public FaultyFileSystem {
public:
    bool canWriteIn(const std::string& folder) const override { return folder != program; }
    std::string userConfigFolder() const override { return "/home/user/.config/scourix"; }
    Status makeFolders(const std::string& folder) override {
        addFolder("/home/user/.config");
        addFolder(folder);
        return {};
    }
};

// The program folder's copy cannot be deleted: restoring puts a copy of the user's own with
// the built-in list in front of it, so the next start has the 43 patterns all ticked.
TEST(TypeListInUseTest, RestoringWithAProtectedProgramFolderBringsTheBuiltInListBack) {
    for (bool ownCopyFirst : {false, true}) {
        FakePlatform fake;
        ProtectedProgramFolder fs;
        fs.addFile(fs.program + "/TypeList.ini", "1*.old\r\n");
        fs.addFolder(fs.program, true);
        fs.addFolder(fs.current);
        if (ownCopyFirst) {
            fs.addFile("/home/user/.config/scourix/TypeList.ini", "0*.mine\r\n");
        }
        const Platform ui{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                          fake.window,   fs,          fake.shell,    fake.clock};
        fake.dialogs.answers = {mb::kIdYes, mb::kIdOk};
        MainForm(ui).mResetType_Click();
        EXPECT_EQ(fake.window.endNowCalls, 1);
        FakePlatform next;
        MainForm restarted{Platform{next.lstDrive, next.lstPat, next.lstFound, next.controls,
                                    next.dialogs, next.window, fs, next.shell, next.clock}};
        restarted.Form_Load();
        EXPECT_EQ(next.lstPat.checkedTexts().size(), 43u) << ownCopyFirst;
        EXPECT_EQ(fs.content(fs.program + "/TypeList.ini"), "1*.old\r\n");
    }
}

TEST(TypeListInUseTest, AProtectedProgramFolderLeavesTheListToTheUsersOwnCopy) {
    ProtectedProgramFolder fs;
    fs.addFolder(fs.program);
    fs.addFolder(fs.current);
    const std::string shared = fs.program + "/TypeList.ini";
    const std::string own = "/home/user/.config/scourix/TypeList.ini";
    // No copy of the user's yet: the program folder's copy is read, the user's written.
    fs.addFile(shared, "1*.tmp\r\n");
    EXPECT_EQ(typeListInUse(fs), shared);
    EXPECT_EQ(typeListToWrite(fs), own);
    fs.addFile(own, "0*.bak\r\n");
    EXPECT_EQ(typeListInUse(fs), own);
    // A program folder that can be written behaves as always.
    FaultyFileSystem writable;
    EXPECT_EQ(typeListInUse(writable), writable.program + "/TypeList.ini");
    EXPECT_EQ(typeListToWrite(writable), writable.program + "/TypeList.ini");
}

// Installed as a package, even a program folder that can be written (root) keeps no list:
// only the user's copy is read and written, and without a settings folder none is.
class InstalledProgramFolder : public FaultyFileSystem {
public:
    std::string config = "/root/.config/scourix";
    std::string userConfigFolder() const override { return config; }
    Status makeFolders(const std::string& folder) override {
        addFolder(folder);
        return {};
    }
};

TEST(TypeListInUseTest, TheInstalledMarkerKeepsTheListOutOfTheProgramFolder) {
    InstalledProgramFolder fs;
    fs.addFile(fs.program + "/TypeList.ini", "1*.tmp\r\n");
    fs.addFile(fs.program + "/installed");
    const std::string own = "/root/.config/scourix/TypeList.ini";
    EXPECT_EQ(typeListInUse(fs), own);
    EXPECT_EQ(typeListToWrite(fs), own);
    EXPECT_TRUE(fs.exists("/root/.config/scourix"));
    fs.config.clear();
    EXPECT_EQ(typeListInUse(fs), "");
    EXPECT_EQ(typeListToWrite(fs), "");
}

}  // namespace
}  // namespace scourix
