// Measures the scan against GNU find and a bare readdir walk on one synthetic tree, in the
// same run on a warm cache. Usage: scan_bench [folders files rounds]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "HeadlessScan.h"
#include "Peers.h"
#include "SyntheticTree.h"
#include "Timing.h"
#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "types/BuiltInTypes.h"

using namespace scourix;
using namespace scourix::bench;

int main(int argc, char** argv) {
    TreeShape shape;
    int rounds = 5;
    readShapeArguments(argc, argv, shape, rounds);
    const std::string root = makeTempFolder("scourix-bench-");
    std::printf("Building %zu folders, %zu files under %s ...\n", shape.folders, shape.files,
                root.c_str());
    const TreeStats stats = buildTree(root, shape);
    std::printf("Tree: %zu folders, %zu files, %zu junk by construction\n", stats.folders,
                stats.files, stats.junk);

    std::vector<std::string> patterns;
    for (auto p : builtInTypes()) {
        patterns.emplace_back(p);
    }

    // The scan through the core, with a headless window layer and the real file system.
    HeadlessScan headless(root);
    PosixFileSystem& fs = headless.fs;
    std::size_t scanFound = 0;
    const auto scan = [&] { scanFound = headless.run(); };

    const auto findArgs = findArguments(root, patterns);
    std::size_t walked = 0;
    const auto find = [&] { runQuietly(findArgs); };
    const auto bare = [&] { walked = bareWalk(root); };

    // The file-system layer alone: every folder read once through PosixFileSystem, each
    // subfolder opened relative to its parent.
    struct Count final : FolderVisitor {
        std::size_t listed = 0;
        std::vector<std::string> folders;
        void entry(std::string_view name, EntryKind kind) override {
            ++listed;
            if (kind == EntryKind::Folder) {
                folders.emplace_back(name);
            }
        }
    };
    std::size_t listed = 0;
    std::function<void(const OpenFolder&)> listAll = [&](const OpenFolder& folder) {
        Count count;
        if (!fs.readFolder(folder, count)) {
            return;
        }
        listed += count.listed;
        for (const std::string& name : count.folders) {
            if (auto sub = fs.openSubfolder(folder, name); sub && sub.value()) {
                listAll(*sub.value());
            }
        }
    };
    const auto layer = [&] {
        listed = 0;
        listAll(*fs.openFolder(root).value());
    };

    bare();  // warm the cache
    find();
    scan();
    const auto medians = interleavedMedians({scan, find, bare, layer}, rounds);
    std::printf("\nCores: %ld; rounds: %d; results listed by the scan: %zu; entries walked: %zu\n",
                ::sysconf(_SC_NPROCESSORS_ONLN), rounds, scanFound, walked);
    std::printf("%-34s %10s %10s\n", "contender", "median s", "ratio");
    std::printf("%-34s %10.3f %10s\n", "scan (43 built-in patterns)", medians[0], "1.00");
    std::printf("%-34s %10.3f %10.2f\n", "find (43 -iname tests)", medians[1],
                medians[0] / medians[1]);
    std::printf("%-34s %10.3f %10.2f\n", "bare readdir walk", medians[2], medians[0] / medians[2]);
    std::printf("%-34s %10.3f %10.2f\n", "listFolder walk (no matching)", medians[3],
                medians[0] / medians[3]);
    std::printf("\nscan/find = %.2f (goal <= 0.50); scan/bare walk = %.2f (goal <= 1.50)\n",
                medians[0] / medians[1], medians[0] / medians[2]);
    removeTree(root);
    return 0;
}
