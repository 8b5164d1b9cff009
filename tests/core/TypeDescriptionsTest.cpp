#include <gtest/gtest.h>

#include "FormFixture.h"

namespace scourix {
namespace {

class TypeDescriptionsTest : public FormFixture {
protected:
    std::string path() const { return fake.fs.program + "/TypeRead.ini"; }
};

TEST_F(TypeDescriptionsTest, NonEmptyLinesEachEndWithALineBreakAndBlanksStay) {
    fake.fs.addFile(path(), "*.tmp\r\n\r\n  临时文件  \r\n   \r\n\r\n最后一行");
    form.mReportType_Click();
    const auto& r = fake.window.lastInfo();
    EXPECT_EQ(r.text, "*.tmp\r\n  临时文件  \r\n   \r\n最后一行\r\n");
    EXPECT_EQ(r.heading, "文件类型的详细说明");
    EXPECT_EQ(r.textColor, kBlue);
    EXPECT_EQ(r.background, kWhite);

    // Read afresh: an edit shows at the next use, a removed file gives an empty window.
    fake.fs.addFile(path(), "新内容\r\n");
    form.mReportType_Click();
    EXPECT_EQ(fake.window.lastInfo().text, "新内容\r\n");
    ASSERT_TRUE(fake.fs.removeFile(path()));
    form.lstFound_DblClick();
    EXPECT_EQ(fake.window.lastInfo().text, "");
    EXPECT_TRUE(fake.dialogs.boxes.empty());
    EXPECT_TRUE(fake.shell.openedDocuments.empty()) << "a double click opens no file";
}

TEST_F(TypeDescriptionsTest, AFileThatCannotBeReadIsReportedAndTheWindowStillShows) {
    fake.fs.addFile(path(), "*.tmp\r\n");
    fake.fs.failOn(FsOp::ReadLines, path(), FaultyFileSystem::permissionDenied());
    form.mReportType_Click();
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    const auto& box = fake.dialogs.boxes[0];
    EXPECT_NE(box.text.find(path()), std::string::npos);
    EXPECT_NE(box.text.find(FaultyFileSystem::permissionDenied().description), std::string::npos);
    EXPECT_EQ(box.title, "文件类型的详细说明");
    EXPECT_EQ(box.flags, 16);
    ASSERT_EQ(fake.window.infoWindows.size(), 1u);
    EXPECT_EQ(fake.window.lastInfo().text, "");
}

}  // namespace
}  // namespace scourix
