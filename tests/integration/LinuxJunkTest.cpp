// The Linux set against the leftovers that real tools write, and files that a running
// program holds open, on the real file system with fakes for the window.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "posix/TempFolder.h"
#include "types/LinuxTypes.h"
#include "types/SortOrder.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;
using Paths = std::set<std::string>;

struct DiskForm {
    explicit DiskForm(const std::string& programFolder,
                      std::shared_ptr<PackageDatabase> packages = {})
        : fs(programFolder, std::move(packages)) {}

    FakePlatform fake;
    PosixFileSystem fs;
    MainForm form{Platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                           fake.window, fs, fake.shell, fake.clock}};
};

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int run(const std::string& folder, const std::string& command) {
    return std::system(("cd '" + folder + "' && " + command + " >/dev/null 2>&1").c_str());
}

// Where the kernel writes a crashed program's core into its working folder as "core...".
bool coresLandHere() {
    std::ifstream in("/proc/sys/kernel/core_pattern");
    std::string pattern;
    std::getline(in, pattern);
    return pattern.starts_with("core");
}

// A home with what cp --backup, patch, python3 -m compileall and a crash leave, the rest
// written by name; the set, added by the menu command to an empty list, finds each
// leftover and nothing else: no source, no patch, no text or program named core.
TEST(LinuxSetTest, FindsWhatRealToolsLeaveAndNothingElse) {
    test::TempFolder home;
    DiskForm disk(home.path());
    FakePlatform& fake = disk.fake;
    const std::string h = home.path() + "/";
    std::string lines;
    for (int i = 1; i <= 20; ++i) {
        lines += std::to_string(i) + "\n";
    }
    home.file("main.c", lines);
    home.folder("lib");
    ASSERT_EQ(run(h, "cp main.c lib/ && cp --backup=simple main.c lib/"), 0);
    // A patch whose second hunk no longer fits: the rejects and the original are kept.
    ASSERT_EQ(run(h,
                  "sed 's/^2$/two/; s/^18$/eighteen/' main.c > new.c && "
                  "diff -u main.c new.c > fix.patch; rm new.c && "
                  "sed -i 's/^18$/X/' main.c && (patch main.c < fix.patch; true)"),
              0);
    home.folder("app");
    home.file("app/util.py", "x = 1\n");
    ASSERT_EQ(run(h, "python3 -m compileall -q app"), 0);
    home.file("app/old.pyo", "o");
    Paths expected{h + "lib/main.c~", h + "main.c.orig", h + "main.c.rej"};
    for (const auto& entry : std::filesystem::directory_iterator(h + "app/__pycache__")) {
        expected.insert(entry.path().string());
    }
    expected.insert(h + "app/old.pyo");
    // The kernel writes a crashed program's core into its working folder only where
    // core_pattern says so and the hard limit allows one.
    if (coresLandHere()) {
        run(h, "sh -c 'ulimit -c unlimited; kill -s SEGV $$'");
        for (const auto& entry : std::filesystem::directory_iterator(h)) {
            if (entry.path().filename().string().starts_with("core")) {
                expected.insert(entry.path().string());
            }
        }
    }
    if (expected.size() == 5) {
        std::cout << "[  SKIPPED ] the crash's core: this machine's core_pattern or core limit "
                     "sends no core to the working folder\n";
    }
    for (const char* name : {"#main.c#", ".notes.txt.swp", ".notes.txt.swo", "debian-12.iso.part",
                             "video.mp4.crdownload"}) {
        expected.insert(home.file(name, "x"));
    }
    // A big-endian machine's core, and the same header saying "executable".
    const std::string elf(
        "\x7F"
        "ELF\x02\x02\x01",
        7);
    expected.insert(home.file("core.be", elf + std::string(9, '\0') + std::string("\0\x04", 2)));
    home.file("core.exe", elf + std::string(9, '\0') + std::string("\0\x02", 2));
    // Named like a core dump, but a text file, a source, an ordinary program and a folder.
    home.folder("notes");
    home.file("notes/core", "remember the milk\n");
    home.file("lib/core.c", "int main(void) { return 0; }\n");
    ASSERT_EQ(run(h, "cp /bin/true lib/core.1"), 0);
    home.folder("lib/core");
    home.file("notes.txt", "n");

    fake.lstPat.clear();
    disk.form.mAddLinuxTypes_Click();
    disk.form.mAddLinuxTypes_Click();  // a second time adds nothing
    ASSERT_EQ(fake.lstPat.count(), linuxTypes().size());
    for (std::size_t i = 0; i < fake.lstPat.count(); ++i) {
        EXPECT_TRUE(fake.lstPat.checked(i)) << fake.lstPat.text(i);
    }
    fake.lstDrive.setTexts({h});
    fake.lstDrive.append("临时文件夹");
    fake.lstDrive.setChecked(0, true);
    fake.controls.setValue("chkHideFile", 0);
    fake.dialogs.answers.push_back(mb::kIdNo);
    disk.form.cmdFind_Click();
    const Texts found = fake.lstFound.texts();
    EXPECT_EQ(Paths(found.begin(), found.end()), expected);
}

// The menu command keeps every entry and tick there is, and adds only what is missing,
// each at its sorted place.
TEST(LinuxSetTest, MenuCommandAddsOnlyWhatIsMissing) {
    FakePlatform fake;
    MainForm form(fake.platform());
    fake.lstPat.setTexts({"*.bak", "*.part", "*.tmp"});
    fake.lstPat.setChecked(2, true);
    form.mAddLinuxTypes_Click();
    const Texts texts = fake.lstPat.texts();
    EXPECT_EQ(texts.size(), 2 + linuxTypes().size());
    EXPECT_TRUE(std::is_sorted(
        texts.begin(), texts.end(),
        [](const std::string& a, const std::string& b) { return SortOrder::less(a, b); }));
    const auto at = [&](std::string_view text) {
        return static_cast<std::size_t>(std::find(texts.begin(), texts.end(), text) -
                                        texts.begin());
    };
    EXPECT_FALSE(fake.lstPat.checked(at("*.bak")));
    EXPECT_FALSE(fake.lstPat.checked(at("*.part")));
    EXPECT_TRUE(fake.lstPat.checked(at("*.tmp")));
    EXPECT_TRUE(fake.lstPat.checked(at("core")));
}

// Bytecode that a package's install scripts compiled counts as the package's when its source
// one level up is listed; other bytecode does not.
TEST(LinuxSetTest, BytecodeOfAPackagesOwnSourceIsThePackages) {
    struct Listed final : PackageDatabase {
        bool owns(std::string_view path) override {
            return path == "/usr/lib/python3/dist-packages/apt/cache.py";
        }
    };
    PosixFileSystem fs("/nonexistent", std::make_shared<Listed>());
    const std::string cache = "/usr/lib/python3/dist-packages/apt/__pycache__/";
    EXPECT_TRUE(fs.packageOwned(cache + "cache.cpython-311.pyc"));
    EXPECT_TRUE(fs.packageOwned(cache + "cache.cpython-311.opt-1.pyc"));
    EXPECT_FALSE(fs.packageOwned(cache + "other.cpython-311.pyc"));
    EXPECT_FALSE(fs.packageOwned("/usr/lib/python3/dist-packages/apt/cache.cpython-311.pyc"));
    EXPECT_FALSE(fs.packageOwned("/home/u/apt/__pycache__/cache.cpython-311.pyc"));
}

// A child that holds a file open until it is killed.
struct Holder {
    explicit Holder(const std::string& path) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid = ::fork();
        if (pid == 0) {
            const int fd = ::open(path.c_str(), O_RDONLY);
            (void)!::write(ready[1], fd >= 0 ? "y" : "n", 1);
            ::pause();
            ::_exit(0);
        }
        char answer = 0;
        EXPECT_EQ(::read(ready[0], &answer, 1), 1);
        EXPECT_EQ(answer, 'y');
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~Holder() {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    pid_t pid = -1;
};

// While another process holds a listed file open, deleting, temporarily deleting and
// renaming leave it as it is and say why with the system's text; the other files go.
TEST(FilesInUseTest, AreRefusedByEveryCommandAndTheOthersGo) {
    test::TempFolder dir;
    DiskForm disk(dir.path());
    FakePlatform& fake = disk.fake;
    const std::string busy = dir.file("busy.part", "downloading");
    const Holder holder(busy);
    const std::string busyText = errorOf(EBUSY).description;
    ASSERT_EQ(busyText, "Device or resource busy");

    for (const bool stash : {false, true}) {
        const std::string a = dir.file("a.tmp", "a");
        const std::string b = dir.file("b.tmp", "b");
        fake.lstFound.setTexts({a, busy, b});
        fake.lstFound.setAllChecked(true);
        fake.dialogs.answers = {mb::kIdYes, mb::kIdNo, mb::kIdYes};
        stash ? disk.form.cmdDeltmp_Click() : disk.form.cmdKill_Click();
        EXPECT_EQ(fake.lstFound.texts(), Texts{busy}) << stash;
        const std::string report = fake.window.lastInfo().text;
        EXPECT_NE(report.find(busy + "\x1a[" + busyText + "]"), std::string::npos) << report;
        EXPECT_EQ(contentOf(busy), "downloading");
        EXPECT_FALSE(std::filesystem::exists(busy + ".del"));
        EXPECT_EQ(std::filesystem::exists(a + ".del"), stash);
        EXPECT_FALSE(std::filesystem::exists(a));
        EXPECT_FALSE(std::filesystem::exists(b));
    }

    fake.lstFound.setCurrentIndex(0);
    fake.dialogs.inputs = {"done.part"};
    fake.dialogs.boxes.clear();
    disk.form.mRename_Click();
    ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fake.dialogs.boxes[0].text, busyText);
    EXPECT_EQ(fake.lstFound.texts(), Texts{busy});
    EXPECT_FALSE(std::filesystem::exists(dir / "done.part"));
}

}  // namespace
}  // namespace scourix
