// The Linux set against what real tools leave, and files a running program holds open.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "DiskForm.h"
#include "posix/TempFolder.h"
#include "types/LinuxTypes.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
namespace fsys = std::filesystem;

int run(const std::string& folder, const std::string& command) {
    return std::system(("cd '" + folder + "' && (" + command + ") >/dev/null 2>&1").c_str());
}

// A home with what cp --backup, patch, python3 -m compileall and a crash leave, the rest
// written by name: the set, added by its menu command, finds each and nothing else.
TEST(LinuxSetTest, FindsWhatRealToolsLeaveAndNothingElse) {
    test::TempFolder home;
    DiskForm disk(home.path());
    const std::string h = home.path() + "/";
    ASSERT_EQ(
        run(h,
            "seq 1 20 > main.c && mkdir lib app notes lib/core && cp main.c lib/ && "
            "cp --backup=simple main.c lib/main.c && sed 's/^2$/two/; s/^18$/X/' main.c > n.c && "
            "diff -u main.c n.c > fix.patch; sed -i 's/^18$/Y/' main.c && "
            "(patch main.c < fix.patch; rm n.c) && echo 'x = 1' > app/util.py && "
            "python3 -m compileall -q app && cp /bin/true lib/core.1"),
        0);
    std::set<std::string> expected{h + "lib/main.c~", h + "main.c.orig", h + "main.c.rej"};
    for (const auto& cached : fsys::directory_iterator(h + "app/__pycache__")) {
        expected.insert(cached.path().string());
    }
    std::string pattern;  // the kernel may write cores elsewhere, or none with its limit
    std::getline(std::ifstream("/proc/sys/kernel/core_pattern"), pattern);
    run(h, pattern.starts_with("core") ? "sh -c 'ulimit -c unlimited; kill -s SEGV $$'; true"
                                       : "true");
    for (const auto& entry : fsys::directory_iterator(h)) {
        if (entry.path().filename().string().starts_with("core")) {
            expected.insert(entry.path().string());
        }
    }
    for (const char* name : {"#main.c#", ".notes.txt.swp", ".notes.txt.swo", "app/old.pyo",
                             "debian-12.iso.part", "video.mp4.crdownload"}) {
        expected.insert(home.file(name, "x"));
    }
    // A big-endian core is one; the same header saying "executable", a note, a source and a
    // program named core are not.
    const std::string elf = std::string("\177ELF\2\2\1") + std::string(10, '\0');
    expected.insert(home.file("core.be", elf + '\x04'));
    home.file("core.exe", elf + '\x02');
    home.file("notes/core", "remember the milk\n");
    home.file("lib/core.c", "int main(void) { return 0; }\n");

    FakePlatform& fake = disk.fake;
    fake.lstPat.setTexts({"*.rej"});
    disk.form.mAddLinuxTypes_Click();
    disk.form.mAddLinuxTypes_Click();  // adds nothing more, and leaves the tick as it is
    ASSERT_EQ(fake.lstPat.count(), linuxTypes().size());
    EXPECT_EQ(fake.lstPat.checkedTexts().size(), linuxTypes().size() - 1);  // not *.rej
    fake.controls.setValue("chkHideFile", 0);
    const Texts found = disk.scan({h}, fake.lstPat.texts());
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()), expected);

    // Bytecode that install scripts compiled from a package's listed source is the package's.
    struct Listed final : PackageDatabase {
        bool owns(std::string_view path) override { return path.ends_with("/apt/cache.py"); }
    };
    const PosixFileSystem withPackages("/nonexistent", std::make_shared<Listed>());
    const std::string usr = "/usr/lib/python3/dist-packages/apt/";
    EXPECT_TRUE(withPackages.packageOwned(usr + "__pycache__/cache.cpython-311.opt-1.pyc"));
    EXPECT_FALSE(withPackages.packageOwned(usr + "__pycache__/other.cpython-311.pyc"));
    EXPECT_FALSE(withPackages.packageOwned(usr + "cache.cpython-311.pyc"));
    EXPECT_FALSE(withPackages.packageOwned("/home/u/apt/__pycache__/cache.cpython-311.pyc"));
}

// While a child holds a listed file open, deletion, temporary deletion and rename leave it
// and say why with the system's text; the other files go.
TEST(FilesInUseTest, AreRefusedByEveryCommandAndTheOthersGo) {
    test::TempFolder dir;
    DiskForm disk(dir.path());
    FakePlatform& fake = disk.fake;
    const std::string busy = dir.file("busy.part", "downloading");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        (void)!::write(ready[1], ::open(busy.c_str(), O_RDONLY) >= 0 ? "y" : "n", 1);
        ::pause();
        ::_exit(0);
    }
    const std::unique_ptr<const pid_t, void (*)(const pid_t*)> reaper(&child, [](const pid_t* c) {
        ::kill(*c, SIGKILL);  // also when an assertion ends the test early
        ::waitpid(*c, nullptr, 0);
    });
    char opened = 0;
    ASSERT_TRUE(::read(ready[0], &opened, 1) == 1 && opened == 'y');
    for (const bool stash : {false, true}) {
        const std::string a = dir.file("a.tmp", "a");
        fake.lstFound.setTexts({a, busy, dir.file("b.tmp", "b")});
        fake.lstFound.setAllChecked(true);
        fake.dialogs.answers = {mb::kIdYes, mb::kIdNo, mb::kIdYes};
        stash ? disk.form.cmdDeltmp_Click() : disk.form.cmdKill_Click();
        EXPECT_EQ(fake.lstFound.texts(), Texts{busy}) << stash;
        EXPECT_NE(fake.window.lastInfo().text.find(busy + "\x1a[Device or resource busy]"),
                  std::string::npos);
        EXPECT_EQ(fsys::exists(a + ".del"), stash);
        EXPECT_FALSE(fsys::exists(a) || fsys::exists(dir / "b.tmp") || fsys::exists(busy + ".del"));
    }
    fake.lstFound.setCurrentIndex(0);
    fake.dialogs.inputs = {"done.part"};
    fake.dialogs.boxes.clear();
    disk.form.mRename_Click();
    EXPECT_EQ(fake.dialogs.boxes.at(0).text, errorOf(EBUSY).description);
    EXPECT_EQ(fsys::file_size(busy), 11u);
}

}  // namespace
}  // namespace scourix
