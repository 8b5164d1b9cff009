// Measures the scan against GNU find, bfs, fd, bare walks and the floor (the bare walk with
// the looks at each result that the byte total and the existence check need) on one
// synthetic tree, in the same run on a warm cache, and checks that every contender lists
// the same paths.
// Ends with one "ratio a/b x" line per ratio, for scripts. Usage: scan_bench [--cold]
// [folders files rounds]. With --cold the tree lies in an ext4 image on the real disk,
// mounted again before each timed run so that every contender meets a cold disk (as root;
// skipped otherwise), and the figures' names begin with "cold-".
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "ColdVolume.h"
#include "Floor.h"
#include "HeadlessScan.h"
#include "Peers.h"
#include "SyntheticTree.h"
#include "Timing.h"
#include "types/BuiltInTypes.h"

using namespace scourix;
using namespace scourix::bench;

namespace {

struct Contender {
    Contender(std::string n, std::function<void()> r, bool peer = false)
        : name(std::move(n)), run(std::move(r)), isPeer(peer) {}

    std::string name;
    std::function<void()> run;
    Captured captured;  // a peer's last output, NUL-separated
    bool isPeer = false;
    double median = 0;
};

std::vector<std::string> uniqueResults(const FakeCheckList& list) {
    std::string joined;
    for (const auto& e : list.entries) {
        joined.append(e.text).push_back('\0');
    }
    return uniquePaths(joined);
}

std::string printable(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", c);
        out += c >= 0x20 && c < 0x7f ? std::string(1, static_cast<char>(c)) : std::string(hex);
    }
    return out;
}

// Prints how a contender's paths differ from the scan's; true when they are the same.
bool sameSet(const std::string& name, const std::vector<std::string>& scan,
             const std::vector<std::string>& other) {
    if (scan == other) {
        std::printf("  %-32s same %zu paths\n", name.c_str(), other.size());
        return true;
    }
    std::vector<std::string> missing, extra;
    std::set_difference(scan.begin(), scan.end(), other.begin(), other.end(),
                        std::back_inserter(missing));
    std::set_difference(other.begin(), other.end(), scan.begin(), scan.end(),
                        std::back_inserter(extra));
    std::printf("  %-32s MISMATCH: %zu paths, %zu of the scan's missing, %zu extra\n", name.c_str(),
                other.size(), missing.size(), extra.size());
    for (std::size_t i = 0; i < missing.size() && i < 3; ++i) {
        std::printf("      missing %s\n", printable(missing[i]).c_str());
    }
    for (std::size_t i = 0; i < extra.size() && i < 3; ++i) {
        std::printf("      extra   %s\n", printable(extra[i]).c_str());
    }
    return false;
}

std::string prefix;  // "cold-" in the cold mode

void printRatio(const char* name, double a, double b) {
    if (a > 0 && b > 0) {
        std::printf("ratio %s%s %.2f\n", prefix.c_str(), name, a / b);
    } else {
        std::printf("ratio %s%s n/a\n", prefix.c_str(), name);
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const bool cold = argc > 1 && std::string(argv[1]) == "--cold";
    if (cold) {
        --argc;
        ++argv;
        prefix = "cold-";
    }
    TreeShape shape;
    shape.specialPercent = 1;
    int rounds = 5;
    readShapeArguments(argc, argv, shape, rounds);
    ColdVolume volume;
    if (cold) {
        if (const std::string why = ColdVolume::unavailable(); !why.empty()) {
            std::printf("cold: skipped, %s\n", why.c_str());
            return 0;
        }
        if (!volume.create(shape.folders + shape.files)) {
            std::printf("cold: skipped, the ext4 image could not be made and mounted\n");
            return 1;
        }
    }
    const std::string root =
        cold ? volume.mountPoint() + "/tree" : makeTempFolder("scourix-bench-");
    if (cold) {
        std::filesystem::create_directory(root);
    }
    std::printf("Building %zu folders, %zu files under %s (%s) ...\n", shape.folders, shape.files,
                root.c_str(), fileSystemName(root).c_str());
    const TreeStats stats = buildTree(root, shape);
    std::printf("Tree: %zu folders, %zu files, %zu junk by construction\n", stats.folders,
                stats.files, stats.junk);

    std::vector<std::string> patterns(builtInTypes().begin(), builtInTypes().end());

    // The scan through the core with a headless window layer and the real file system: the
    // default walk, and the walk held to the window's thread.
    HeadlessScan scan(root);
    HeadlessScan oneThread(root, 1);
    std::vector<double> gaps, betweens, tails, toSummary;
    std::vector<Contender> cs;
    cs.emplace_back("scan (43 built-in patterns)", [&] {
        scan.run();
        gaps.push_back(scan.gaps.longestMs());
        betweens.push_back(scan.gaps.betweenPassesMs());
        tails.push_back(scan.gaps.tailMs());
        toSummary.push_back(scan.toSummaryMs);
    });
    cs.emplace_back("scan, one thread", [&] { oneThread.run(); });
    // Readers beyond the cores: what moves the bound where the disk, not the processor, waits.
    HeadlessScan manyReaders(root, 16);
    cs.emplace_back("scan, 16 readers", [&] { manyReaders.run(); });
    // The floors, over the results of a first scan.
    scan.run();
    const ResultsByFolder results = groupByFolder(uniqueResults(scan.fake.lstFound));
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    cs.emplace_back("floor (getdents + 2 looks per result)", [&] { floorWalk(root, results); });
    cs.emplace_back("existence check (CheckFiles)", [&] { scan.form.CheckFiles(); });
    cs.emplace_back("floor-check (1 look per result, all cores)",
                    [&] { floorCheck(results, cores); });

    // The peers, each timed with its output read into memory through a pipe.
    const auto addPeer = [&](std::string name, std::vector<std::string> args,
                             std::vector<std::string> env) {
        cs.emplace_back(std::move(name), nullptr, true);
        const std::size_t at = cs.size() - 1;
        cs[at].run = [&cs, at, args, env] { cs[at].captured = runCaptured(args, env); };
    };
    for (const char* program : {"find", "bfs"}) {
        if (!installed(program)) {
            std::printf("%s is not installed: left out (scripts/bench.sh installs it)\n", program);
            continue;
        }
        for (const char* locale : {"C", "C.UTF-8"}) {
            addPeer(std::string(program) + " (43 -iname), LC_ALL=" + locale,
                    findArguments(program, root, patterns), {std::string("LC_ALL=") + locale});
        }
    }
    if (installed("fdfind")) {
        addPeer("fd (one regex)", fdArguments(root, patterns), {});
    } else {
        std::printf("fdfind is not installed: left out (scripts/bench.sh installs it)\n");
    }
    // The command line as a whole process, start-up and package database included.
    std::vector<std::string> cliArgs{SCOURIX_CLI, "scan", "-0", "-q"};
    for (const std::string& p : patterns) {
        cliArgs.insert(cliArgs.end(), {"-p", p});
    }
    cliArgs.push_back(root);
    addPeer("scourix-cli scan (whole process)", cliArgs, {});

    std::size_t walked = 0;
    cs.emplace_back("bare readdir walk", [&] { walked = readdirWalk(root); });
    cs.emplace_back("bare getdents walk (descriptors)", [&] { bareWalk(root); });
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
        if (!scan.fs.readFolder(folder, count)) {
            return;
        }
        listed += count.listed;
        for (const std::string& name : count.folders) {
            if (auto sub = scan.fs.openSubfolder(folder, name); sub && sub.value()) {
                listAll(*sub.value());
            }
        }
    };
    cs.emplace_back("file-system layer walk (no matching)", [&] {
        listed = 0;
        listAll(*scan.fs.openFolder(root).value());
    });

    std::vector<std::function<void()>> runs;
    for (Contender& c : cs) {
        c.run();  // warms the cache
        runs.push_back(c.run);
    }
    gaps.clear();
    betweens.clear();
    tails.clear();
    toSummary.clear();
    std::function<void()> coldStart;
    if (cold) {
        // Read apart: the package database lies on the host's disk, outside the image.
        PosixFileSystem fresh;
        std::printf("cold: package database read in %.3f s (once per scan, kept apart)\n",
                    secondsOf([&] { fresh.packageOwned("/usr/bin/ls"); }));
        coldStart = [&] { volume.remount(); };
    }
    const auto medians = interleavedMedians(runs, rounds, coldStart);
    for (std::size_t i = 0; i < cs.size(); ++i) {
        cs[i].median = medians[i];
    }

    // Every contender lists the paths the scan lists, each counted once.
    std::printf("\nPaths (sets of unique paths against the default scan's):\n");
    const auto scanSet = uniqueResults(scan.fake.lstFound);
    bool same = sameSet(cs[1].name, scanSet, uniqueResults(oneThread.fake.lstFound));
    for (const Contender& c : cs) {
        if (c.isPeer) {
            same = sameSet(c.name, scanSet, uniquePaths(c.captured.output)) && same;
            if (c.captured.status != 0) {
                std::printf("      (exit status %d)\n", c.captured.status);
            }
        }
    }

    std::printf(
        "\nCores: %ld; rounds: %d; results listed by the scan: %zu (%zu paths); "
        "entries walked: %zu\n",
        ::sysconf(_SC_NPROCESSORS_ONLN), rounds, scan.fake.lstFound.count(), scanSet.size(),
        walked);
    std::printf("%-44s %10s %10s %14s\n", "contender", "median s", "scan/it", "one-thread/it");
    for (const Contender& c : cs) {
        std::printf("%-44s %10.3f %10.2f %14.2f\n", c.name.c_str(), c.median,
                    cs[0].median / c.median, cs[1].median / c.median);
    }
    const auto medianOf = [&](const std::string& name) {
        for (const Contender& c : cs) {
            if (c.name == name) {
                return c.median;
            }
        }
        return 0.0;  // not installed
    };
    const double findC = medianOf("find (43 -iname), LC_ALL=C");
    const double bfsC = medianOf("bfs (43 -iname), LC_ALL=C");
    const double fd = medianOf("fd (one regex)");
    const double bare = medianOf("bare readdir walk");
    const double getdents = medianOf("bare getdents walk (descriptors)");
    const double floor = medianOf("floor (getdents + 2 looks per result)");
    const double check = medianOf("existence check (CheckFiles)");
    const double floorCheck = medianOf("floor-check (1 look per result, all cores)");
    std::printf(
        "\nGoals: one-thread/floor <= 1.30; scan/bfs <= 0.30; scan/fd <= 0.50; "
        "check/floor-check <= 1.25; walk-end-to-summary <= 5 ms.\n");
    std::printf(
        "Event loop during the default scan, medians over the rounds (goal: a pass at least "
        "every 50 ms):\n  longest gap between passes %.1f ms; from the last pass to the "
        "command's end %.1f ms; longest gap of any round %.1f ms\n",
        median(betweens), median(tails), *std::max_element(gaps.begin(), gaps.end()));
    // The walk's passes are what Stop and repaints need; after the walk the byte total and
    // the existence check run without one, as they always did.
    if (!cold) {
        std::printf("max event gap ms %.1f\n", median(betweens));
        std::printf("after-walk ms %.1f\n", median(tails));
    }
    printRatio("one-thread/bfs", cs[1].median, bfsC);
    printRatio("one-thread/bare", cs[1].median, bare);
    printRatio("one-thread/find", cs[1].median, findC);
    printRatio("scan/bfs", cs[0].median, bfsC);
    printRatio("scan/fd", cs[0].median, fd);
    printRatio("cli/bfs", medianOf("scourix-cli scan (whole process)"), bfsC);
    printRatio("cli/fd", medianOf("scourix-cli scan (whole process)"), fd);
    printRatio("scan/bare", cs[0].median, bare);
    printRatio("one-thread/getdents", cs[1].median, getdents);
    printRatio("scan/getdents", cs[0].median, getdents);
    printRatio("one-thread/floor", cs[1].median, floor);
    printRatio("check/floor-check", check, floorCheck);
    printRatio("scan-16-readers/fd", medianOf("scan, 16 readers"), fd);
    std::printf("ms %swalk-end-to-summary %.2f\n", prefix.c_str(), median(toSummary));
    if (!cold) {
        removeTree(root);
    }
    return same ? 0 : 1;
}
