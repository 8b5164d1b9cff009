#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormFixture.h"
#include "types/BuiltInTypes.h"
#include "types/TypeListStore.h"

namespace scourix {
namespace {

class TypeListStoreTest : public FormFixture {
protected:
    TypeListStore store{state};

    void writeFile(const std::string& text) { fake.fs.addFile(typeListPath(), text); }
    std::string savedFile() {
        EXPECT_TRUE(store.SaveTypeList().ok());
        return fake.fs.content(typeListPath());
    }
};

TEST_F(TypeListStoreTest, WithoutTheFileTheBuiltInListIsTickedAndSavedInFull) {
    store.initialise();
    ASSERT_EQ(fake.lstPat.count(), 43u);
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);
    EXPECT_GE(fake.lstPat.repaints, 1);
    EXPECT_EQ(fake.fs.callCount(FsOp::ReadLines), 0);

    std::string expected;
    for (std::string_view p : builtInTypes()) {
        expected += "1" + std::string(p) + "\r\n";
    }
    const std::string saved = savedFile();
    EXPECT_EQ(saved, expected);
    EXPECT_TRUE(saved.starts_with("1*.---\r\n"));
    EXPECT_TRUE(saved.ends_with("1Previous Backup of*.*\r\n"));
}

TEST_F(TypeListStoreTest, AFileThatIsNotAnOrdinaryFileCountsAsAbsent) {
    fake.fs.addSpecial(typeListPath());
    store.initialise();
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), 43u);

    // A lookup that fails also leaves the usable built-in list.
    FakePlatform other;
    MainState otherState(other.platform());
    other.fs.failOn(FsOp::Lookup, other.fs.program + "/TypeList.ini",
                    FakeFileSystem::permissionDenied());
    TypeListStore(otherState).initialise();
    EXPECT_EQ(other.lstPat.checkedTexts().size(), 43u);
    EXPECT_TRUE(other.dialogs.boxes.empty());
}

TEST_F(TypeListStoreTest, ReadsFlagsAndPatternsIntoSortedPlaces) {
    writeFile("1*.tmp\r\n\r\n0*.bak\r\n");
    store.initialise();
    EXPECT_EQ(fake.lstPat.texts(), (std::vector<std::string>{"*.bak", "*.tmp"}));
    EXPECT_EQ(fake.lstPat.checks(), (std::vector<bool>{false, true}));
    EXPECT_EQ(savedFile(), "0*.bak\r\n1*.tmp\r\n");
}

TEST_F(TypeListStoreTest, TheFlagIsExactlyOneCharacterOfAnyKind) {
    writeFile(
        "7*.old\r\n"      // any digit 1-9 ticks
        "x*.olx\r\n"      // a letter does not
        "*.tmp\r\n"       // no flag: "*" is taken as one
        "1\r\n"           // the flag alone: an empty pattern
        "11stpass.*\r\n"  // a pattern that begins with a digit
        "0*.log  \r\n"    // trailing blanks belong to the pattern
        "1临时*.tmp\r\n"  // Chinese text
        "中*.zh\r\n"      // a Chinese flag is one character, unticked
        "0\r\n");         // an unticked empty pattern
    store.initialise();
    const std::vector<std::string> expectedTexts = {
        "", "", "*.log  ", "*.old", "*.olx", "*.zh", ".tmp", "1stpass.*", "临时*.tmp"};
    EXPECT_EQ(fake.lstPat.texts(), expectedTexts);
    EXPECT_EQ(fake.lstPat.checks(),
              (std::vector<bool>{true, false, false, true, false, false, false, true, true}));
    EXPECT_EQ(savedFile(),
              "1\r\n0\r\n0*.log  \r\n1*.old\r\n0*.olx\r\n0*.zh\r\n0.tmp\r\n11stpass.*\r\n"
              "1临时*.tmp\r\n");
}

TEST_F(TypeListStoreTest, WhatIsSavedLoadsBackToTheSameEntries) {
    writeFile("1a\r\n0A\r\n1\r\n0b-c\r\n1bc\r\n0 \r\n1a\r\n");
    store.initialise();
    const auto texts = fake.lstPat.texts();
    const auto checks = fake.lstPat.checks();
    const std::string first = savedFile();

    store.LoadTypeList();
    EXPECT_EQ(fake.lstPat.texts(), texts);
    EXPECT_EQ(fake.lstPat.checks(), checks);
    EXPECT_EQ(savedFile(), first);
}

TEST_F(TypeListStoreTest, EqualTextsKeepTheirOwnTicksInFileOrder) {
    writeFile("0dup\r\n1dup\r\n1*.b\r\n0*.a\r\n");
    store.initialise();
    EXPECT_EQ(fake.lstPat.texts(), (std::vector<std::string>{"*.a", "*.b", "dup", "dup"}));
    EXPECT_EQ(fake.lstPat.checks(), (std::vector<bool>{false, true, false, true}));
}

TEST_F(TypeListStoreTest, AnEmptyFileGivesAnEmptyListAndIsSavedEmpty) {
    writeFile("");
    store.initialise();
    EXPECT_EQ(fake.lstPat.count(), 0u);
    EXPECT_EQ(savedFile(), "");

    writeFile("\r\n\r\n");
    store.initialise();
    EXPECT_EQ(fake.lstPat.count(), 0u);
}

TEST_F(TypeListStoreTest, AnUnreadableFileLeavesTheListEmptyWithoutAMessage) {
    writeFile("1*.tmp\r\n");
    fake.fs.failOn(FsOp::ReadLines, typeListPath(), FakeFileSystem::permissionDenied());
    store.initialise();
    EXPECT_EQ(fake.lstPat.count(), 0u);
    EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(TypeListStoreTest, AFailedSaveIsReturnedAndLeavesThePreviousFile) {
    writeFile("1*.tmp\r\n");
    store.initialise();
    fake.lstPat.setChecked(0, false);
    fake.fs.failOn(FsOp::ReplaceText, typeListPath(), {28, "No space left on device"});
    const Status saved = store.SaveTypeList();
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().description, "No space left on device");
    EXPECT_EQ(fake.fs.content(typeListPath()), "1*.tmp\r\n");

    // A folder that cannot be written fails the same way.
    fake.fs.clearFailures();
    fake.fs.setReadOnly(fake.fs.program, true);
    EXPECT_FALSE(store.SaveTypeList().ok());
    EXPECT_EQ(fake.fs.content(typeListPath()), "1*.tmp\r\n");
}

TEST_F(TypeListStoreTest, ListsLongerThanSixteenBitCountsLoadAndSave) {
    std::string text;
    for (int i = 0; i < 40000; ++i) {
        text += (i % 3 == 0 ? "1" : "0") + std::to_string(100000 + i) + "\r\n";
    }
    writeFile(text);
    store.initialise();
    ASSERT_EQ(fake.lstPat.count(), 40000u);
    EXPECT_EQ(fake.lstPat.text(39999), "139999");
    EXPECT_TRUE(fake.lstPat.checked(39999));
    EXPECT_FALSE(fake.lstPat.checked(39998));
    EXPECT_EQ(savedFile(), text);
}

}  // namespace
}  // namespace scourix
