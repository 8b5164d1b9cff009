// Folders read ahead on other threads change nothing a user sees: on random trees with
// folders that cannot be opened or read, Retry answers and Stop at random folders, a walk
// on several threads shows the same results, boxes, status lines and Stop point as the walk
// on the window's thread alone.
#include <random>
#include <tuple>

#include "FormFixture.h"

namespace scourix {
namespace {

TEST(ParallelWalkTest, ShowsExactlyWhatTheWalkOnOneThreadShows) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        FakePlatform fake;
        std::vector<std::pair<std::string, int>> folders{{"/r", 0}};  // and their depths
        for (std::size_t f = 0; f < folders.size(); ++f) {
            const auto [folder, depth] = folders[f];
            fake.fs.addFolder(folder);
            for (int i = pick(0, 8); i > 0; --i) {
                const std::string name = folder + "/" + "ab.h"[pick(0, 3)] + std::to_string(i);
                if (depth < 5 && pick(0, 1) == 0) {
                    folders.emplace_back(name, depth + 1);
                } else {
                    fake.fs.addFile(name + (pick(0, 1) ? ".tmp" : ".txt"));
                }
            }
        }
        // Some folders cannot be opened or read, once, twice or always.
        std::vector<std::tuple<FsOp, std::string, int>> failures;
        for (int i = folders.size() > 1 ? pick(0, 4) : 0; i > 0; --i) {
            const std::string& folder =
                folders[pick(1, static_cast<int>(folders.size()) - 1)].first;
            const FsOp op = pick(0, 1) ? FsOp::OpenFolder : FsOp::ReadFolder;
            failures.emplace_back(op, folder, pick(0, 2) == 0 ? -1 : pick(1, 2));
        }
        std::deque<int> answers;
        for (int i = 0; i < 20; ++i) {
            answers.push_back(mb::kIdAbort + pick(0, 2));
        }
        const int stopAt = pick(0, 3) == 0 ? -1 : pick(1, static_cast<int>(folders.size()));
        fake.lstDrive.setTexts({"/r", "临时文件夹"});
        fake.lstDrive.setChecked(0, true);
        fake.lstPat.setTexts({"*.tmp", "a*"});
        fake.lstPat.setAllChecked(true);

        // Everything a user sees of a scan: the status line at each pass of the event loop,
        // the results and the boxes.
        const auto scan = [&](unsigned threads) {
            fake.fs.clearFailures();
            for (const auto& [op, path, times] : failures) {
                fake.fs.failOn(op, path, FaultyFileSystem::permissionDenied(), times);
            }
            fake.dialogs.boxes.clear();
            fake.dialogs.answers = answers;
            fake.controls.setCaption("lblInfo", "");
            MainForm form{fake.platform()};
            form.state().scanThreads = threads;
            std::vector<std::string> seen;
            fake.window.onDoEvents = [&] {
                seen.push_back("pass " + fake.controls.caption("lblInfo"));
                if (static_cast<int>(seen.size()) == stopAt) {
                    form.cmdStopFind_Click();
                }
            };
            form.cmdFind_Click();
            for (const std::string& found : fake.lstFound.texts()) {
                seen.push_back("found " + found);
            }
            for (const FakeDialogs::Box& b : fake.dialogs.boxes) {
                seen.push_back(b.text + "|" + std::to_string(b.flags) + "|" + b.title);
            }
            return seen;
        };
        const std::vector<std::string> alone = scan(1);
        for (unsigned threads : {2u, 4u}) {
            ASSERT_EQ(scan(threads), alone) << "seed " << seed << ", " << threads << " threads";
        }
    }
}

}  // namespace
}  // namespace scourix
