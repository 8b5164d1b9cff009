// The file layer where the system answers otherwise: older kernels, other locales, files
// changed between two steps.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>

#include "TempFolder.h"
#include "Traps.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemError.h"

namespace scourix {
namespace {

using test::fails;

// Where the file system refuses RENAME_NOREPLACE, the new name is linked and the old one
// unlinked: an existing name is never replaced, and when either step fails both names are
// left as they were. Any other refusal is the rename's answer.
TEST(FailurePaths, WithoutNoReplaceARenameLinksAndUnlinksAndUndoesHalfOfIt) {
    test::TempFolder dir;
    const auto renames = [&](const std::vector<test::Trap>& traps) {
        dir.file("a.tmp", "a"), dir.file("b.tmp", "b");
        std::filesystem::remove(dir / "a.tmp.del");
        return test::withTraps(traps, [&] {
            std::string seen;
            for (const char* from : {"b.tmp", "a.tmp"}) {
                const Status done =
                    PosixFileSystem().renameNoReplace(dir / from, dir / "a.tmp.del");
                seen += (done ? "ok" : done.error().description) + "|";
            }
            for (const char* name : {"a.tmp", "b.tmp", "a.tmp.del"}) {
                seen += test::contentOf(dir / name) + " ";
            }
            return seen;
        });
    };
    EXPECT_EQ(renames({fails(SYS_renameat2, EINVAL)}), "ok|File exists|a <missing> b ");
    EXPECT_EQ(renames({fails(SYS_renameat2, ENOSYS), fails(SYS_linkat, EMLINK)}),
              "Too many links|Too many links|a b <missing> ");
    EXPECT_EQ(renames({fails(SYS_renameat2, EACCES)}),
              "Permission denied|Permission denied|a b <missing> ");
    // The old name cannot be unlinked, once: the new one goes again.
    EXPECT_EQ(renames({fails(SYS_renameat2, EOPNOTSUPP), fails(SYS_unlinkat, EPERM, "b.tmp", 1)}),
              "Operation not permitted|ok|<missing> b a ");
}

// A settings file is read only as the regular file looked at, and no larger than the limit,
// whatever takes its place or grows it between the look and the open.
TEST(FailurePaths, AFileSwappedOrGrownAfterTheLookIsNotRead) {
    test::TempFolder dir;
    const std::string list = dir / "TypeList.ini", pipe = dir.fifo("pipe");
    const auto readWhenOpened = [&](const std::function<void()>& change) {
        dir.file("TypeList.ini", "1*.tmp\r\n");
        const test::Trap opens{
            SYS_openat, [&](const seccomp_data& call) -> std::optional<long> {
                if (test::pathOf(call).ends_with("TypeList.ini") && !(call.args[2] & O_PATH)) {
                    change();
                }
                return {};
            }};
        return test::withTraps({opens}, [&] {
            const Result<std::string> text = PosixFileSystem().readText(list);
            return text ? text.value() : text.error().description;
        });
    };
    EXPECT_EQ(readWhenOpened([&] { ::truncate(list.c_str(), PosixFileSystem::kMaxTextFile + 1); }),
              "File too large");
    EXPECT_EQ(readWhenOpened([&] {
                  ::renameat2(AT_FDCWD, list.c_str(), AT_FDCWD, pipe.c_str(), RENAME_EXCHANGE);
              }),
              "Resource temporarily unavailable");
}

// The system's texts come in the locale's character set: a GB18030 locale's are shown as the
// catalogue has them.
TEST(FailurePaths, ErrorTextsUnderAGb18030LocaleArriveAsUtf8) {
    test::TempFolder locales;
    const std::string make = "localedef -f GB18030 -i zh_CN " + locales / "zh_CN.GB18030";
    if (std::system((make + " >/dev/null 2>&1").c_str()) != 0) {
        GTEST_SKIP() << "cannot build a zh_CN.GB18030 locale (package locales)";
    }
    const auto texts = [&] {
        ::setenv("LOCPATH", locales.path().c_str(), 1);
        std::setlocale(LC_ALL, "zh_CN.GB18030");
        return systemError(ENOENT).description + "|" + systemError(ENOTEMPTY).description;
    };
    EXPECT_EQ(test::withTraps({}, texts), "没有那个文件或目录|目录非空");
}

}  // namespace
}  // namespace scourix
