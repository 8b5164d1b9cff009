// Measures the result list in the real main window on the offscreen platform: a scan of a
// synthetic tree with about 100,000 results through the window against the same scan over a
// headless window, the tick commands at that size, the memory of 1,000,000 entries filled in
// directly and the memory after a real scan with about 1,000,000 results.
// Usage: list_bench [folders files rounds [scan-results]] | list_bench --memory [entries]
//        | list_bench --scan-memory folder
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "HeadlessScan.h"
#include "SyntheticTree.h"
#include "Timing.h"
#include "app/MainForm.h"
#include "fakes/FakePlatform.h"
#include "gui/MainWindow.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/CheckListView.h"

extern char** environ;

using namespace scourix;
using namespace scourix::bench;

namespace {

// A line of /proc/self/status in kB, such as VmHWM (the peak resident size) or VmRSS.
long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':') {
            return std::atol(line.c_str() + n + 1);
        }
    }
    return -1;
}

// Bytes handed out by malloc, the large blocks it maps on their own included.
std::size_t heapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// A main window of its own program folder, started up and on the (offscreen) screen, with
// message boxes that answer No: no scan report.
struct Window {
    std::string folder = makeTempFolder("scourix-listbench-");
    FakeDialogs dialogs;
    FakeShell shell;
    MainWindow window{MainWindowOptions{folder, &dialogs, &shell, [] {}}};
    MainState& state = window.form().state();

    Window() {
        window.form().Form_Load();
        window.show();
        QApplication::processEvents();
    }
    ~Window() { removeTree(folder); }

    void trigger(const char* action) { window.findChild<QAction*>(action)->trigger(); }

    // Ticks one location and every pattern for the scans to come.
    void scanOnly(const std::string& root) {
        CheckList& drives = state.ui.lstDrive;
        drives.clear();
        drives.appendMany({root, "临时文件夹"});
        drives.setChecked(0, true);
        state.ui.lstPat.setAllChecked(true);
    }
    // A scan that answers No to its summary, until the window has laid itself out.
    void scan() {
        dialogs.answers = {mb::kIdNo};
        window.form().cmdFind_Click();
        QApplication::processEvents();
    }
};

// The main thread's processor time: the machine may be busy with other work, and
// everything measured here runs on that one thread.
double cpuSecondsOf(const std::function<void()>& work) {
    timespec a{}, b{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
    work();
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
    return static_cast<double>(b.tv_sec - a.tv_sec) +
           static_cast<double>(b.tv_nsec - a.tv_nsec) / 1e9;
}

double medianCpu(const std::function<void()>& work, int rounds) {
    std::vector<double> t;
    for (int r = 0; r < rounds; ++r) {
        t.push_back(cpuSecondsOf(work));
    }
    return median(t);
}

// Runs work and lets the window lay itself out and paint before the clock stops.
double withEvents(const std::function<void()>& work) {
    return cpuSecondsOf([&] {
        work();
        QApplication::processEvents();
    });
}

int memoryRun(std::size_t entries) {
    Window w;
    CheckList& found = w.state.ui.lstFound;
    QApplication::processEvents();
    const long rssBefore = statusKb("VmRSS");
    const std::size_t heapBefore = heapInUse();
    std::size_t pathBytes = 0;
    std::vector<std::string> batch;
    timespec start{}, end{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    // Five entries a folder and a pass of the event loop every 200 folders.
    for (std::size_t i = 0; i < entries; ++i) {
        char path[96];
        std::snprintf(path, sizeof path, "/home/user/projects/dir%05zu/sub%03zu/file%07zu.tmp",
                      i / 500, i / 5 % 100, i);
        pathBytes += std::strlen(path);
        batch.emplace_back(path);
        if (batch.size() == 5) {
            found.appendMany(std::move(batch));
            batch.clear();
            if (i % 1000 == 999) {
                QApplication::processEvents();
            }
        }
    }
    found.appendMany(std::move(batch));
    QApplication::processEvents();
    w.window.listView("lstFound")->scrollToBottom();
    QApplication::processEvents();
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    const double n = static_cast<double>(found.count());
    const double path = static_cast<double>(pathBytes) / n;
    const double heap = static_cast<double>(heapInUse() - heapBefore) / n;
    const double peak = static_cast<double>(statusKb("VmHWM") - rssBefore) * 1024.0 / n;
    std::printf("\nMemory at %zu entries (mean path %.1f bytes), filled in %.2f s:\n",
                found.count(), path,
                static_cast<double>(end.tv_sec - start.tv_sec) +
                    static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e9);
    std::printf("  heap in use per entry %.1f bytes, %.1f beyond the path\n", heap, heap - path);
    std::printf(
        "  peak resident growth per entry %.1f bytes, %.1f beyond the path"
        " (goal < 200)\n",
        peak, peak - path);
    std::printf("bytes-per-entry fill-heap %.0f\nbytes-per-entry fill-peak %.0f\n", heap - path,
                peak - path);
    return 0;
}

// The memory after a real scan of folder through the window, per result.
int scanMemoryRun(const std::string& folder) {
    Window w;
    w.scanOnly(folder);
    QApplication::processEvents();
    const long rssBefore = statusKb("VmRSS");
    const std::size_t heapBefore = heapInUse();
    const double seconds = secondsOf([&] {
        w.scan();
        w.window.listView("lstFound")->scrollToBottom();
        QApplication::processEvents();
    });
    const CheckList& found = w.state.ui.lstFound;
    std::size_t pathBytes = 0;
    for (std::size_t i = 0; i < found.count(); ++i) {
        pathBytes += found.text(i).size();
    }
    const double n = static_cast<double>(found.count());
    const double path = static_cast<double>(pathBytes) / n;
    const double heap = static_cast<double>(heapInUse() - heapBefore) / n;
    const double peak = static_cast<double>(statusKb("VmHWM") - rssBefore) * 1024.0 / n;
    std::printf(
        "\nMemory after a scan through the window, %zu results (mean path %.1f bytes), "
        "scanned in %.2f s:\n",
        found.count(), path, seconds);
    std::printf("  heap in use per entry %.1f bytes, %.1f beyond the path\n", heap, heap - path);
    std::printf("  peak resident growth per entry %.1f bytes, %.1f beyond the path\n", peak,
                peak - path);
    std::printf("bytes-per-entry scan-heap %.0f\nbytes-per-entry scan-peak %.0f\n", heap - path,
                peak - path);
    return 0;
}

// Runs this program again with the arguments, so that a measurement of memory starts from
// a fresh process that nothing else has grown.
void runSelf(std::vector<std::string> arguments) {
    std::fflush(stdout);
    arguments.insert(arguments.begin(), "list_bench");
    std::vector<char*> args;
    for (std::string& a : arguments) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, args.data(), environ) == 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
    }
}

// Builds a tree whose scan lists about `results` entries, measures the memory after
// scanning it through the window and removes it. A small tree built first tells the
// results per file and the time per file; a tree that would take longer than the budget to
// build is scaled down.
void scanMemoryOfTree(std::size_t results) {
    constexpr double kBudgetSeconds = 300;
    constexpr std::size_t kFilesPerFolder = 100;
    constexpr std::size_t kProbeFiles = 10000;
    TreeShape shape{.folders = 100, .files = kProbeFiles, .seed = 2, .junkPercent = 97};
    const std::string probe = makeTempFolder("scourix-listbench-probe-");
    const double probeSeconds = secondsOf([&] { buildTree(probe, shape); });
    const double perFile =
        static_cast<double>(HeadlessScan(probe).run()) / static_cast<double>(shape.files);
    removeTree(probe);
    const double wanted = static_cast<double>(results) / perFile;
    const double affordable = static_cast<double>(shape.files) * kBudgetSeconds / probeSeconds;
    shape.files = static_cast<std::size_t>(std::min(wanted, affordable));
    shape.folders = std::max<std::size_t>(1, shape.files / kFilesPerFolder);
    const std::string root = makeTempFolder("scourix-listbench-scan-");
    std::printf("\nBuilding %zu folders, %zu files under %s (%s) for about %.0f results ...\n",
                shape.folders, shape.files, root.c_str(), fileSystemName(root).c_str(),
                static_cast<double>(shape.files) * perFile);
    if (wanted > affordable) {
        std::printf(
            "  SCALED DOWN from about %zu results: building that tree here would take about "
            "%.0f s, beyond the budget of %.0f s\n",
            results, wanted / static_cast<double>(kProbeFiles) * probeSeconds, kBudgetSeconds);
    }
    const double built = secondsOf([&] { buildTree(root, shape); });
    std::printf("  built in %.1f s\n", built);
    runSelf({"--scan-memory", root});
    removeTree(root);
}

// The same tree scanned over a headless window; returns the median seconds and the results.
double headlessScan(const std::string& root, int rounds, std::vector<std::string>& results) {
    HeadlessScan headless(root);
    const auto scan = [&] { headless.run(); };
    scan();
    const double t = medianCpu(scan, rounds);
    results = headless.fake.lstFound.texts();
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc >= 2 && std::strcmp(argv[1], "--memory") == 0) {
        QApplication app(argc, argv);
        return memoryRun(argc >= 3 ? std::strtoul(argv[2], nullptr, 10) : 1000000);
    }
    if (argc >= 3 && std::strcmp(argv[1], "--scan-memory") == 0) {
        QApplication app(argc, argv);
        return scanMemoryRun(argv[2]);
    }
    TreeShape shape{.folders = 20000, .files = 340000, .seed = 1, .junkPercent = 25};
    int rounds = 5;
    readShapeArguments(argc, argv, shape, rounds);
    const std::size_t scanResults = argc >= 5 ? std::strtoul(argv[4], nullptr, 10) : 1000000;

    // Memory is measured in processes of their own, so that nothing else raised the peak.
    runSelf({"--memory"});
    if (scanResults > 0) {
        scanMemoryOfTree(scanResults);
    }

    QApplication app(argc, argv);
    const std::string root = makeTempFolder("scourix-listbench-tree-");
    std::printf("\nBuilding %zu folders, %zu files under %s ...\n", shape.folders, shape.files,
                root.c_str());
    const TreeStats stats = buildTree(root, shape);

    std::vector<std::string> results;
    const double headless = headlessScan(root, rounds, results);

    Window w;
    CheckList& found = w.state.ui.lstFound;
    w.scanOnly(root);
    const auto windowScan = [&] { w.scan(); };
    windowScan();
    const double windowed = medianCpu(windowScan, rounds);
    if (found.count() != results.size()) {
        std::printf("MISMATCH: the window listed %zu results, the headless scan %zu\n",
                    found.count(), results.size());
    }

    // The scan's appends alone, one batch and one pass of the event loop per folder.
    std::vector<std::vector<std::string>> batches;
    for (const std::string& r : results) {
        const std::string folder = r.substr(0, r.rfind('/'));
        if (batches.empty() ||
            batches.back().front().compare(0, folder.size() + 1, folder + "/") != 0) {
            batches.emplace_back();
        }
        batches.back().push_back(r);
    }
    const auto replay = [&] {
        found.clear();
        for (const auto& b : batches) {
            found.appendMany(b);
            QApplication::processEvents();
        }
    };
    const double fill = medianCpu(replay, rounds);

    std::printf(
        "\nCores: %ld; rounds: %d; tree: %zu folders, %zu files; results: %zu in %zu "
        "folders\n",
        ::sysconf(_SC_NPROCESSORS_ONLN), rounds, stats.folders, stats.files, results.size(),
        batches.size());
    std::printf("  scan, headless window          %8.3f s\n", headless);
    std::printf("  scan, real window              %8.3f s  (+%.0f %% of the headless scan)\n",
                windowed, (windowed - headless) / headless * 100);
    std::printf(
        "  filling the list alone         %8.3f s  (%.0f %% of the headless scan; goal "
        "<= 33 %%)\n",
        fill, fill / headless * 100);
    // What the window costs a scan besides the list: the status line and a pass of the event
    // loop for every folder.
    const auto statusLine = [&] {
        for (std::size_t i = 0; i < batches.size(); ++i) {
            w.state.ui.controls.setCaption("lblInfo", batches[i].front());
            w.state.ui.window.doEvents();
        }
    };
    const double status = medianCpu(statusLine, rounds);
    std::printf("  status line and events alone   %8.3f s  (%.0f %% of the headless scan)\n",
                status, status / headless * 100);

    // The commands at this size, each until the window has repainted.
    auto* box = w.window.findChild<QCheckBox*>("chkSelAll");
    // Each command runs after a step that makes it change every tick.
    struct Command {
        const char* name;
        std::function<void()> before, run;
    };
    const std::vector<Command> commands{
        {"mSelAll (tick all)", [&] { w.trigger("mSelAllUn"); }, [&] { w.trigger("mSelAll"); }},
        {"mSelAllUn (untick all)", [&] { w.trigger("mSelAll"); }, [&] { w.trigger("mSelAllUn"); }},
        {"mLChSel (invert)", [] {}, [&] { w.trigger("mLChSel"); }},
        {"chkSelAll clicked on", [&] { box->setChecked(false); }, [&] { box->click(); }},
        {"CheckFiles, all present", [] {}, [&] { w.window.form().CheckFiles(); }},
    };
    std::printf("\nAt %zu entries (goal < 50 ms for the tick commands):\n", found.count());
    for (const Command& c : commands) {
        std::vector<double> t;
        for (int r = 0; r < rounds; ++r) {
            c.before();
            QApplication::processEvents();
            t.push_back(withEvents(c.run));
        }
        std::printf("  %-26s %8.1f ms\n", c.name, median(t) * 1000);
    }
    std::vector<std::size_t> everyOther;
    for (std::size_t i = 0; i < found.count(); i += 2) {
        everyOther.push_back(i);
    }
    std::printf("  %-26s %8.1f ms\n", "removing every other entry",
                withEvents([&] { found.removeMany(everyOther); }) * 1000);
    std::printf("  %-26s %8.1f ms\n", "mClear", withEvents([&] { w.trigger("mClear"); }) * 1000);
    removeTree(root);
    return 0;
}
