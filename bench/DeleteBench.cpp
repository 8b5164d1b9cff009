// Measures the permanent deletion of every file of a synthetic tree, all ticked in the result
// list, against `find DIR -type f -delete` and a bare unlink loop on identical trees, in the
// same run. Usage: delete_bench [files folders rounds]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "Peers.h"
#include "SyntheticTree.h"
#include "Timing.h"
#include <dirent.h>

#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"

using namespace scourix;
using namespace scourix::bench;

namespace {

// Every file below folder, in the order of a walk: a folder's own files before its
// subfolders.
void collectFiles(const std::string& folder, std::vector<std::string>& files) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> folders;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name != "." && name != "..") {
            (e->d_type == DT_DIR ? folders : files).push_back(folder + "/" + e->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& sub : folders) {
        collectFiles(sub, files);
    }
}

}  // namespace

int main(int argc, char** argv) {
    TreeShape shape;
    shape.files = 100000;
    shape.folders = 2000;
    int rounds = 3;
    if (argc >= 3) {
        shape.files = std::strtoul(argv[1], nullptr, 10);
        shape.folders = std::strtoul(argv[2], nullptr, 10);
    }
    if (argc >= 4) {
        rounds = std::atoi(argv[3]);
    }
    PosixFileSystem fs;
    std::vector<double> core, find, bare;
    std::size_t deleted = 0, left = 0;
    for (int r = 0; r < rounds; ++r) {
        // Three identical trees, built afresh for every round since deletion uses them up.
        const std::string roots[] = {makeTempFolder("scourix-del-core-"),
                                     makeTempFolder("scourix-del-find-"),
                                     makeTempFolder("scourix-del-bare-")};
        for (int k = 0; k < 3; ++k) {
            buildTree(roots[(r + k) % 3], shape);
        }
        std::vector<std::string> files;
        collectFiles(roots[0], files);
        std::vector<std::string> bareFiles;
        collectFiles(roots[2], bareFiles);

        // The deletion through the core: a headless window layer and the real file system.
        FakePlatform fake;
        Platform platform{fake.lstDrive, fake.lstPat, fake.lstFound, fake.controls, fake.dialogs,
                          fake.window,   fs,          fake.shell,    fake.clock};
        MainForm form(platform);
        fake.lstFound.appendMany(files);
        fake.lstFound.setAllChecked(true);
        fake.dialogs.answers = {mb::kIdYes, mb::kIdNo};

        const std::function<void()> contenders[] = {
            [&] { form.cmdKill_Click(); },
            [&] {
                runQuietly({"find", roots[1], "-type", "f", "-delete"});
            },
            [&] {
                for (const std::string& f : bareFiles) {
                    ::unlink(f.c_str());
                }
            },
        };
        std::vector<double>* times[] = {&core, &find, &bare};
        // Each starts with nothing left to write back: an unlink waits for an inode that is
        // being written, which would favour the tree built last. A different one also goes
        // first in every round.
        for (int k = 0; k < 3; ++k) {
            const int c = (r + k) % 3;
            ::sync();
            times[c]->push_back(secondsOf(contenders[c]));
        }
        deleted = files.size();
        left = fake.lstFound.count();
        for (const std::string& root : roots) {
            removeTree(root);
        }
    }
    std::printf(
        "Cores: %ld; rounds: %d; files per tree: %zu in %zu folders (%s); left in list: %zu\n",
        ::sysconf(_SC_NPROCESSORS_ONLN), rounds, deleted, shape.folders,
        fileSystemName(tempFolder()).c_str(), left);
    const double c = median(core), f = median(find), b = median(bare);
    std::printf("%-40s %10s %10s\n", "contender", "median s", "core/it");
    std::printf("%-40s %10.3f %10s\n", "permanent deletion through the core", c, "1.00");
    std::printf("%-40s %10.3f %10.2f\n", "find DIR -type f -delete", f, c / f);
    std::printf("%-40s %10.3f %10.2f\n", "bare unlink loop", b, c / b);
    std::printf("\ncore/find = %.2f (goal <= 1.50)\n", c / f);
    std::printf("ratio delete/find %.2f\nratio delete/bare %.2f\n", c / f, c / b);
    return 0;
}
