#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FormFixture.h"

namespace scourix {
namespace {

TEST(RenameTest, RenamesTheCurrentFileInItsFolder) {
    struct Row {
        std::ptrdiff_t current;
        std::string typed, offered, box, entry;
    };
    for (const Row& r : {
             Row{1, "", "a.tmp", "", "/d/a.tmp"},
             Row{1, "a.tmp", "a.tmp", "", "/d/a.tmp"},
             Row{1, "  A.TMP ", "a.tmp", "", "/d/A.TMP"},
             Row{1, "b.tmp", "a.tmp", "File exists|16|", "/d/a.tmp"},
             Row{1, "sub/a.tmp", "a.tmp", "文件名无效：不能含有“/”|16|", "/d/a.tmp"},
             Row{2, "new.tmp", "", "No such file or directory|16|", "/d/gone.tmp"},
             Row{3, "h.tmp", ".h.tmp", "", "/d/h.tmp"},
             // The default given back as it came changes nothing, blanks and all; an edited
             // answer loses its blanks.
             Row{4, " lead.tmp", " lead.tmp", "", "/d/ lead.tmp"},
             Row{4, " lead.tmp  ", " lead.tmp", "", "/d/lead.tmp"},
             Row{-1, "new.tmp", "", "", "/d/b.tmp"},
         }) {
        SCOPED_TRACE(r.typed);
        FakePlatform fake;
        MainForm form{fake.platform()};
        fake.fs.addFile("/d/sub/b.tmp");
        fake.fs.addFile("/d/a.tmp", "A");
        fake.fs.addFile("/d/b.tmp", "B");
        fake.fs.addFile("/d/.h.tmp", "A");
        fake.fs.addFile("/d/ lead.tmp", "A");
        fake.fs.addFolder("/d/gone.tmp");  // a folder in the gone file's place stays as it is
        std::vector<std::string> texts{"/d/b.tmp", "/d/a.tmp", "/d/gone.tmp", "/d/.h.tmp",
                                       "/d/ lead.tmp"};
        fake.lstFound.setTexts(texts);
        fake.lstFound.setAllChecked(true);
        fake.lstFound.current = r.current;
        fake.dialogs.inputs = {r.typed};
        form.mRename_Click();

        std::string shown;
        for (const auto& in : fake.dialogs.inputBoxes) {
            shown += in.prompt + "|" + in.title + "|" + in.defaultText + "\n";
        }
        for (const auto& box : fake.dialogs.boxes) {
            shown += box.text + "|" + std::to_string(box.flags) + "|" + box.title;
        }
        EXPECT_EQ(shown, r.current < 0 ? "" : "请输入新的文件名:|改名|" + r.offered + "\n" + r.box);
        texts[std::max<std::ptrdiff_t>(r.current, 0)] = r.entry;
        EXPECT_EQ(fake.lstFound.texts(), texts);
        EXPECT_EQ(fake.lstFound.checks(), std::vector<bool>(5, true));
        if (r.current >= 0 && r.current != 2) {
            EXPECT_EQ(fake.fs.content(r.entry), "A");
            EXPECT_EQ(fake.fs.exists("/d/" + r.offered), r.entry == "/d/" + r.offered);
        }
        EXPECT_EQ(fake.fs.content("/d/b.tmp"), "B");
        EXPECT_EQ(fake.fs.node("/d/gone.tmp")->kind, FaultyFileSystem::Kind::Folder);
    }
}

}  // namespace
}  // namespace scourix
