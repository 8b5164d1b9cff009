// Measures the result list in the real main window on the offscreen platform: a scan of a
// synthetic tree with about 100,000 results through the window against the same scan over a
// headless window, the tick commands at that size, and the memory of 1,000,000 entries.
// Usage: list_bench [folders files rounds] | list_bench --memory [entries]
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
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
    return 0;
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
    TreeShape shape{.folders = 20000, .files = 340000, .seed = 1, .junkPercent = 25};
    int rounds = 5;
    readShapeArguments(argc, argv, shape, rounds);

    // The memory is measured in a process of its own, so that nothing else raised its peak.
    std::fflush(stdout);
    char self[] = "list_bench";
    char flag[] = "--memory";
    char* args[] = {self, flag, nullptr};
    pid_t child = 0;
    if (::posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, args, environ) == 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
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
    CheckList& drives = w.state.ui.lstDrive;
    drives.clear();
    drives.appendMany({root, "临时文件夹"});
    drives.setChecked(0, true);
    w.state.ui.lstPat.setAllChecked(true);
    const auto windowScan = [&] {
        w.dialogs.answers = {mb::kIdNo};
        w.window.form().cmdFind_Click();
        QApplication::processEvents();
    };
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
