// Random trees with links of the user's and of another user's, random swaps of folders for
// links between the scan and the commands: no command ever touches a file outside the
// scanned tree.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include "DiskForm.h"
#include "posix/TempFolder.h"

namespace scourix {
namespace {

using test::TempFolder;
namespace fsys = std::filesystem;

constexpr uid_t kOtherUser = 54321;

// Every entry below root with what would show that it was touched.
std::map<std::string, std::string> snapshot(const std::string& root) {
    std::map<std::string, std::string> seen;
    for (const auto& e : fsys::recursive_directory_iterator(root)) {
        struct stat st {};
        ::lstat(e.path().c_str(), &st);
        seen[e.path()] = std::to_string(st.st_ino) + "/" + std::to_string(st.st_mode) + "/" +
                         std::to_string(st.st_size) + "/" + test::contentOf(e.path());
    }
    return seen;
}

class Round {
public:
    explicit Round(unsigned seed) : random_(seed) {}

    void plantLink(const std::string& at, const std::string& target, uid_t owner) {
        ASSERT_EQ(::symlink(target.c_str(), at.c_str()), 0);
        ASSERT_EQ(::lchown(at.c_str(), owner, owner), 0);
    }

    // Folders and files below folder; links of root's lead within the tree, links of the
    // other user's lead outside.
    void grow(const std::string& folder, int depth) {
        const int n = pick(1, 4);
        for (int i = 0; i < n; ++i) {
            const std::string name = folder + "/" + std::string(1, char('a' + i));
            switch (pick(0, depth < 3 ? 4 : 2)) {
                case 0:
                case 1:
                    test::TempFolder::write(name + ".tmp", "x");
                    if (pick(0, 2) == 0) {
                        ::chmod((name + ".tmp").c_str(), 0444);
                    }
                    break;
                case 2:
                    plantLink(name + ".tmp", pick(0, 1) ? outsideFolder() : inside.path(),
                              pick(0, 1) ? kOtherUser : 0);
                    break;
                default:
                    ASSERT_EQ(::mkdir(name.c_str(), 0755), 0);
                    folders.push_back(name);
                    grow(name, depth + 1);
            }
        }
    }

    std::string outsideFolder() { return outside / std::string(1, char('p' + pick(0, 2))); }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    TempFolder inside;
    TempFolder outside;
    std::vector<std::string> folders;
    std::mt19937 random_;
};

TEST(LinkSwapPropertyTest, NoCommandTouchesAFileOutsideTheScannedTree) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to play the other user (lchown)";
    }
    for (unsigned seed = 1; seed <= 60; ++seed) {
        Round r(seed);
        for (const char* name : {"p", "q", "r"}) {
            r.outside.folder(name);
            for (const char* file : {"a.tmp", "b.tmp", "a"}) {
                ::chmod(r.outside.file(std::string(name) + "/" + file, "keep").c_str(), 0444);
            }
        }
        r.grow(r.inside.path(), 0);
        const auto before = snapshot(r.outside.path());

        test::DiskForm disk(r.inside.path());
        disk.form.state().scanThreads = static_cast<unsigned>(r.pick(1, 3));
        disk.scan(r.inside.path(), "*.tmp");
        // Folders swapped for the other user's links to outside, the deepest first so that
        // no swap goes through a link planted before.
        std::sort(r.folders.begin(), r.folders.end(),
                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
        for (const std::string& folder : r.folders) {
            if (r.pick(0, 1) == 0) {
                fsys::rename(folder, folder + ".old");
                r.plantLink(folder, r.outsideFolder(), kOtherUser);
            }
        }
        auto& fake = disk.fake;
        fake.lstFound.setAllChecked(true);
        fake.dialogs.answers = {mb::kIdYes, r.pick(0, 1) ? mb::kIdYes : mb::kIdNo, mb::kIdNo};
        if (fake.lstFound.count() > 0) {
            fake.lstFound.setCurrentIndex(r.pick(0, int(fake.lstFound.count()) - 1));
        }
        switch (r.pick(0, 3)) {
            case 0:
                disk.form.cmdKill_Click();
                break;
            case 1:
                disk.form.cmdDeltmp_Click();
                break;
            case 2:
                fake.dialogs.inputs = {"a"};
                disk.form.mRename_Click();
                break;
            default:
                disk.form.SetFileAttrib();
        }
        ASSERT_EQ(snapshot(r.outside.path()), before) << "seed " << seed;
    }
}

}  // namespace
}  // namespace scourix
