// Folders read ahead on other threads change nothing a user sees: on random trees with
// folders that cannot be opened or read, Retry answers and Stop at random folders, a walk
// on several threads shows the same results, boxes, status lines and Stop point as the walk
// on the window's thread alone.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"

namespace scourix {
namespace {

using Texts = std::vector<std::string>;

// Everything a user could see of one scan.
struct Seen {
    Texts found;
    Texts boxes;
    Texts statusAtPasses;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& s, std::ostream* os) {
    for (const Texts* t : {&s.found, &s.boxes, &s.statusAtPasses}) {
        *os << "\n[";
        for (const std::string& x : *t) {
            *os << x << "; ";
        }
        *os << "]";
    }
}

class RandomTree {
public:
    explicit RandomTree(unsigned seed) : random_(seed) {
        grow("/r", 0);
        if (folders_.size() > 1) {
            plantFailures();
        }
        answers_.resize(20);
        for (int& a : answers_) {
            a = mb::kIdAbort + pick(0, 2);
        }
        stopAt_ = pick(0, 3) == 0 ? -1 : pick(1, static_cast<int>(folders_.size()));
    }

    // Scans the same tree with each number of threads, the failures planted afresh.
    std::vector<Seen> scanWith(const std::vector<unsigned>& threads) {
        FakePlatform fake;
        build(fake.fs);
        std::vector<Seen> seen;
        for (unsigned t : threads) {
            fake.fs.clearFailures();
            for (const Failure& f : failures_) {
                fake.fs.failOn(f.op, f.path, FaultyFileSystem::permissionDenied(), f.times);
            }
            fake.lstFound.clear();
            fake.dialogs.boxes.clear();
            fake.controls.setCaption("lblInfo", "");
            seen.push_back(scan(fake, t));
        }
        return seen;
    }

private:
    Seen scan(FakePlatform& fake, unsigned threads) {
        MainForm form{fake.platform()};
        form.state().scanThreads = threads;
        fake.lstDrive.setTexts({"/r", "临时文件夹"});
        fake.lstDrive.setChecked(0, true);
        fake.lstPat.setTexts({"*.tmp", "a*"});
        fake.lstPat.setAllChecked(true);
        fake.dialogs.answers.assign(answers_.begin(), answers_.end());
        Seen seen;
        fake.window.onDoEvents = [&] {
            seen.statusAtPasses.push_back(fake.controls.caption("lblInfo"));
            if (static_cast<int>(seen.statusAtPasses.size()) == stopAt_) {
                form.cmdStopFind_Click();
            }
        };
        form.cmdFind_Click();
        seen.found = fake.lstFound.texts();
        for (const FakeDialogs::Box& box : fake.dialogs.boxes) {
            seen.boxes.push_back(box.text + "|" + std::to_string(box.flags) + "|" + box.title);
        }
        return seen;
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    void grow(const std::string& folder, int depth) {
        folders_.push_back(folder);
        const int n = pick(0, 8);
        for (int i = 0; i < n; ++i) {
            const std::string name = folder + "/" + "ab.h"[pick(0, 3)] + std::to_string(i);
            if (depth < 5 && pick(0, 1) == 0) {
                grow(name, depth + 1);
            } else {
                files_.push_back(name + (pick(0, 1) ? ".tmp" : ".txt"));
            }
        }
    }

    // Some folders cannot be opened or read, once, twice or always.
    void plantFailures() {
        for (int i = pick(0, 4); i > 0; --i) {
            const std::string& folder =
                folders_[static_cast<std::size_t>(pick(1, static_cast<int>(folders_.size()) - 1))];
            failures_.push_back({pick(0, 1) ? FsOp::OpenFolder : FsOp::ReadFolder, folder,
                                 pick(0, 2) == 0 ? -1 : pick(1, 2)});
        }
    }

    void build(FaultyFileSystem& fs) const {
        for (const std::string& folder : folders_) {
            fs.addFolder(folder);
        }
        for (const std::string& file : files_) {
            fs.addFile(file);
        }
    }

    struct Failure {
        FsOp op;
        std::string path;
        int times;
    };

    std::mt19937 random_;
    Texts folders_;
    Texts files_;
    std::vector<Failure> failures_;
    std::vector<int> answers_;
    int stopAt_ = -1;
};

TEST(ParallelWalkTest, ShowsExactlyWhatTheWalkOnOneThreadShows) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        RandomTree tree(seed);
        const std::vector<Seen> seen = tree.scanWith({1, 2, 4});
        ASSERT_EQ(seen[1], seen[0]) << "seed " << seed << ", 2 threads";
        ASSERT_EQ(seen[2], seen[0]) << "seed " << seed << ", 4 threads";
    }
}

}  // namespace
}  // namespace scourix
