// The command line's memory per listed entry: scans of two trees that differ only in the
// number of junk files, each written to a pipe that is read and thrown away, compared by
// the peak resident size of the whole process. Ends with a "bytes-per-entry cli" line.
// Usage: cli_bench [files-in-the-big-tree]

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "SyntheticTree.h"

namespace {

// A tree of 1000 folders holding files junk files between them.
void build(const std::string& root, std::size_t files) {
    const std::size_t folders = 1000;
    for (std::size_t f = 0; f < folders; ++f) {
        const std::string folder = root + "/d" + std::to_string(f);
        ::mkdir(folder.c_str(), 0755);
        for (std::size_t i = f; i < files; i += folders) {
            const std::string name = folder + "/junk-file-number-" + std::to_string(i) + ".tmp";
            ::close(::open(name.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
        }
    }
}

struct Measured {
    long maxRssKiB = 0;
    std::size_t bytesOut = 0;
    double seconds = 0;
};

Measured scan(const std::string& root) {
    int ends[2];
    if (::pipe(ends) != 0) {
        std::exit(2);
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(ends[1], 1);
        ::close(ends[0]), ::close(ends[1]);
        ::execl(SCOURIX_CLI, SCOURIX_CLI, "scan", "-0", "-q", "-p", "*.tmp", root.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ends[1]);
    Measured m;
    char block[65536];
    for (ssize_t n; (n = ::read(ends[0], block, sizeof block)) > 0;) {
        m.bytesOut += static_cast<std::size_t>(n);
    }
    ::close(ends[0]);
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.maxRssKiB = usage.ru_maxrss;
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::size_t big = argc > 1 ? std::stoul(argv[1]) : 1000000;
    const std::size_t small = big / 10;
    const std::string smallRoot = scourix::bench::makeTempFolder("scourix-cli-small-");
    const std::string bigRoot = scourix::bench::makeTempFolder("scourix-cli-big-");
    std::printf("Building trees of %zu and %zu junk files ...\n", small, big);
    build(smallRoot, small);
    build(bigRoot, big);
    scan(smallRoot);  // warms the cache
    const Measured a = scan(smallRoot);
    const Measured b = scan(bigRoot);
    std::printf("%zu entries: peak %ld KiB, %zu bytes written, %.2f s\n", small, a.maxRssKiB,
                a.bytesOut, a.seconds);
    std::printf("%zu entries: peak %ld KiB, %zu bytes written, %.2f s\n", big, b.maxRssKiB,
                b.bytesOut, b.seconds);
    const double perEntry =
        static_cast<double>(b.maxRssKiB - a.maxRssKiB) * 1024.0 / static_cast<double>(big - small);
    std::printf("Goal: at most 64 bytes of memory per listed entry beyond the path.\n");
    std::printf("bytes-per-entry cli %.1f\n", perEntry);
    scourix::bench::removeTree(smallRoot);
    scourix::bench::removeTree(bigRoot);
    return perEntry <= 64 ? 0 : 1;
}
