// The file layer where the system answers otherwise than usual: older kernels and other file
// systems, other locales, and files changed between two steps of an operation.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <map>
#include <utility>

#include "TempFolder.h"
#include "Traps.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/SystemError.h"

namespace scourix {
namespace {

using test::Trap;

// Each entry of folder with its content, in name order.
std::string listing(const std::string& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        entries[entry.path().filename()] = test::contentOf(entry.path());
    }
    std::string text;
    for (const auto& [name, content] : entries) {
        text += name + "=" + content + " ";
    }
    return text;
}

// Where the file system refuses RENAME_NOREPLACE, the new name is linked and the old one
// unlinked: an existing name is never replaced, and when either step fails both names are
// left as they were. Any other refusal is the rename's answer.
TEST(FailurePaths, WithoutNoReplaceARenameLinksAndUnlinksAndUndoesHalfOfIt) {
    test::TempFolder dir;
    const auto renames = [&](const std::vector<Trap>& traps) {
        dir.file("a.tmp", "a");
        dir.file("b.tmp", "b");
        std::filesystem::remove(dir / "a.tmp.del");
        return test::withTraps(traps, [&] {
            PosixFileSystem fs;
            std::string answers;
            for (const char* from : {"b.tmp", "a.tmp"}) {
                const Status done = fs.renameNoReplace(dir / from, dir / "a.tmp.del");
                answers += (done ? "ok" : done.error().description) + "|";
            }
            return answers + listing(dir.path());
        });
    };
    const auto fails = [](long call, int error) {
        return Trap{call, [error](const seccomp_data&) { return error; }};
    };
    EXPECT_EQ(renames({fails(SYS_renameat2, EINVAL)}), "ok|File exists|a.tmp=a a.tmp.del=b ");
    const std::string untouched = "a.tmp=a b.tmp=b ";
    EXPECT_EQ(renames({fails(SYS_renameat2, ENOSYS), fails(SYS_linkat, EMLINK)}),
              "Too many links|Too many links|" + untouched);
    EXPECT_EQ(renames({fails(SYS_renameat2, EACCES)}),
              "Permission denied|Permission denied|" + untouched);
    // The old name cannot be unlinked (once): the new one goes again.
    int once = EPERM;
    const Trap unlinkOnce{SYS_unlinkat, [&](const seccomp_data& call) {
                              return test::named(call, "b.tmp") ? std::exchange(once, 0) : 0;
                          }};
    EXPECT_EQ(renames({fails(SYS_renameat2, EOPNOTSUPP), unlinkOnce}),
              "Operation not permitted|ok|a.tmp.del=a b.tmp=b ");
}

// A settings file is read only as the regular file looked at, and no larger than the limit,
// whatever takes its place or grows it between the look and the open.
TEST(FailurePaths, AFileSwappedOrGrownAfterTheLookIsNotRead) {
    test::TempFolder dir;
    const std::string list = dir / "TypeList.ini", pipe = dir.fifo("pipe");
    const auto readWhenOpened = [&](const std::function<void()>& change) {
        dir.file("TypeList.ini", "1*.tmp\r\n");
        return test::withTraps(
            {{SYS_openat,
              [&](const seccomp_data& call) {
                  if (test::named(call, "TypeList.ini") && (call.args[2] & O_PATH) == 0) {
                      change();
                  }
                  return 0;
              }}},
            [&] {
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
                // Bounds what a faulty read could take.
                const rlimit memory{1ul << 32, 1ul << 32};
                ::setrlimit(RLIMIT_AS, &memory);
#endif
                const Result<std::string> text = PosixFileSystem().readText(list);
                return text ? text.value() : text.error().description;
            });
    };
    EXPECT_EQ(readWhenOpened([] {}), "1*.tmp\r\n");
    EXPECT_EQ(readWhenOpened([&] { ::truncate(list.c_str(), off_t(1) << 40); }), "File too large");
    EXPECT_EQ(readWhenOpened([&] {
                  ::renameat2(AT_FDCWD, list.c_str(), AT_FDCWD, pipe.c_str(), RENAME_EXCHANGE);
              }),
              "Resource temporarily unavailable");
}

// The system's texts come in the locale's character set: a GB18030 locale's are shown as the
// catalogue has them.
TEST(FailurePaths, ErrorTextsUnderAGb18030LocaleArriveAsUtf8) {
    test::TempFolder locales;
    const std::string make =
        "localedef -f GB18030 -i zh_CN " + locales / "zh_CN.GB18030" + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) {
        GTEST_SKIP() << "cannot build a zh_CN.GB18030 locale (package locales)";
    }
    EXPECT_EQ(test::withTraps({},
                              [&] {
                                  ::setenv("LOCPATH", locales.path().c_str(), 1);
                                  if (std::setlocale(LC_ALL, "zh_CN.GB18030") == nullptr) {
                                      return std::string("no locale");
                                  }
                                  return systemError(ENOENT).description + "|" +
                                         systemError(ENOTEMPTY).description;
                              }),
              "没有那个文件或目录|目录非空");
}

// Some file systems list entries without their kind: each is looked at, and one gone since
// the folder was read is left out. (An ext4 image without file types, mounted in a mount
// namespace of the test's own: root only.)
TEST(FailurePaths, EntriesListedWithoutTheirKindAreLookedAtAndVanishedOnesLeftOut) {
    test::TempFolder dir;
    const std::string tree = dir.folder("tree"), mounted = dir.folder("mounted");
    dir.file("tree/file");
    dir.folder("tree/sub");
    dir.link("tree/link", "file");
    dir.fifo("tree/pipe");
    for (const char* name : {"tree/gone1", "tree/gone2", "tree/gone3"}) {
        dir.file(name);
    }
    const std::string seen = test::withTraps({}, [&]() -> std::string {
        const std::string image = dir / "image",
                          make = "mke2fs -q -t ext4 -O ^filetype -d " + tree + " " + image +
                                 " 1M && mount -o loop " + image + " " + mounted;
        if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            std::system((make + " >/dev/null 2>&1").c_str()) != 0) {
            return "skip";
        }
        struct Collect final : FolderVisitor {
            std::string at, first;
            std::map<std::string, char> kinds;
            void entry(std::string_view name, EntryKind kind) override {
                if (kinds.empty()) {  // the rest go while the listing is read
                    first = name;
                    for (const char* gone : {"/gone1", "/gone2", "/gone3"}) {
                        ::unlink((at + gone).c_str());
                    }
                }
                kinds[std::string(name)] = "FRLS"[static_cast<int>(kind)];
            }
        } collect;
        collect.at = mounted;
        PosixFileSystem fs;
        const auto folder = fs.openFolder(mounted);
        if (!folder || !fs.readFolder(*folder.value(), collect)) {
            return "unread";
        }
        std::string text;
        for (const auto& [name, kind] : collect.kinds) {
            text += name == collect.first && name.starts_with("gone") ? "" : name + kind + " ";
        }
        return text;
    });
    if (seen == "skip") {
        GTEST_SKIP() << "needs root, mke2fs and a loop device";
    }
    EXPECT_EQ(seen, "fileR linkL lost+foundF pipeS subF ");
}

}  // namespace
}  // namespace scourix
