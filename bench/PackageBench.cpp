// Measures the dpkg database of this machine: the first answer, which reads it, with the
// memory that costs, and the mean time of later answers over owned and unowned paths.
// Usage: package_bench [admin folder] [answers]
#include <dirent.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Timing.h"
#include "platform/posix/DpkgDatabase.h"

using namespace scourix;
using namespace scourix::bench;

namespace {

// Small blocks and the mapped large ones, such as the table.
double heapMegabytes() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<double>(m.uordblks + m.hblkhd) / (1 << 20);
}

double peakResidentMegabytes() {
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024;
}

struct Sample {
    std::string path;
    bool owned;
};

// Every 97th path of the lists, each with an unowned twin and, in a merged-/usr folder, its
// other spelling, which is owned too.
std::vector<Sample> samplePaths(const std::string& admin) {
    std::vector<Sample> paths;
    DIR* dir = ::opendir((admin + "/info").c_str());
    std::size_t seen = 0;
    while (const dirent* entry = dir ? ::readdir(dir) : nullptr) {
        const std::string name = entry->d_name;
        std::ifstream in(admin + "/info/" + name);
        for (std::string line; name.ends_with(".list") && std::getline(in, line);) {
            if (line.size() < 2 || ++seen % 97 != 0) {
                continue;
            }
            paths.push_back({line, true});
            paths.push_back({line + ".scourix-absent", false});
            if (line.starts_with("/usr/lib/") || line.starts_with("/usr/bin/")) {
                paths.push_back({line.substr(4), true});
            } else if (line.starts_with("/lib/") || line.starts_with("/bin/")) {
                paths.push_back({"/usr" + line, true});
            }
        }
    }
    if (dir) {
        ::closedir(dir);
    }
    return paths;
}

struct Answers {
    std::size_t owned = 0;
    std::size_t wrong = 0;
};

// Answers `count` lookups, cycling through the samples.
Answers answer(DpkgDatabase& db, const std::vector<Sample>& samples, std::size_t count) {
    Answers answers;
    for (std::size_t i = 0, k = 0; i < count; ++i, k = k + 1 == samples.size() ? 0 : k + 1) {
        const bool owned = db.owns(samples[k].path);
        answers.owned += owned;
        answers.wrong += owned != samples[k].owned;
    }
    return answers;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string admin = argc >= 2 ? argv[1] : "/var/lib/dpkg";
    const std::size_t count = argc >= 3 ? std::strtoul(argv[2], nullptr, 10) : 1000000;

    DpkgDatabase db(admin);
    const double heapBefore = heapMegabytes();
    const double peakBefore = peakResidentMegabytes();
    bool firstOwned = false;
    const double first = secondsOf([&] { firstOwned = db.owns("/usr/bin/dpkg"); });
    const double heapAfter = heapMegabytes();
    const double peakAfter = peakResidentMegabytes();
    const DpkgDatabase::Figures figures = db.figures();

    const std::vector<Sample> paths = samplePaths(admin);
    if (paths.empty()) {
        std::printf("No paths in %s/info/*.list\n", admin.c_str());
        return 1;
    }
    Answers one;
    const double oneTime = secondsOf([&] { one = answer(db, paths, count); });
    Answers byTwo[2];
    const double twoTime = secondsOf([&] {
        std::thread other([&] { byTwo[1] = answer(db, paths, count); });
        byTwo[0] = answer(db, paths, count);
        other.join();
    });

    std::printf("dpkg database %s, warm cache\n", admin.c_str());
    std::printf("  %-34s %10zu\n", "lists read", figures.lists);
    std::printf("  %-34s %10zu\n", "paths read", figures.paths);
    std::printf("  %-34s %10zu\n", "distinct paths kept", figures.distinct);
    std::printf("  %-34s %10.1f ms  (goal < 150)\n", "first answer, with the read", first * 1e3);
    std::printf("  %-34s %10.1f MB\n", "heap in use after the read", heapAfter - heapBefore);
    std::printf("  %-34s %10.1f MB  (goal < 25)\n", "peak resident growth", peakAfter - peakBefore);
    std::printf("  %-34s %10zu  (%zu owned, %zu sampled)\n", "answers timed", count, one.owned,
                paths.size());
    std::printf("  %-34s %10.1f ns  (goal < 1000)\n", "mean per answer", oneTime * 1e9 / count);
    std::printf("  %-34s %10.1f ns\n", "mean per answer, two threads", twoTime * 1e9 / count);
    const std::size_t wrong = one.wrong + byTwo[0].wrong + byTwo[1].wrong;
    if (!firstOwned || wrong != 0) {
        std::printf("MISMATCH: /usr/bin/dpkg owned: %d; wrong answers: %zu\n", firstOwned, wrong);
        return 1;
    }
    return 0;
}
