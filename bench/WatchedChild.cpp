#include "WatchedChild.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <thread>

namespace scourix::bench {
namespace {

double statusMb(const std::string& file, const char* key) {
    std::ifstream in(file);
    std::string line;
    const std::size_t n = std::strlen(key);
    while (std::getline(in, line)) {
        if (line.compare(0, n, key) == 0 && line.size() > n && line[n] == ':') {
            return std::atof(line.c_str() + n + 1) / 1024.0;
        }
    }
    return 0;
}

void writeAll(int fd, const std::string& text) {
    for (std::size_t at = 0; at < text.size();) {
        const ssize_t n = ::write(fd, text.data() + at, text.size() - at);
        if (n <= 0) {
            return;
        }
        at += static_cast<std::size_t>(n);
    }
}

[[noreturn]] void childMain(const std::function<std::string()>& work, int out) {
    int code = 0;
    std::string report;
    try {
        report = work();
    } catch (const std::bad_alloc&) {
        report = "out of memory (std::bad_alloc)";
        code = 3;
    } catch (const std::exception& e) {
        report = std::string("exception: ") + e.what();
        code = 2;
    }
    writeAll(out, report);
    std::fflush(stdout);
    ::_exit(code);
}

}  // namespace

double residentMb() {
    return statusMb("/proc/self/status", "VmRSS");
}

ChildOutcome runWatched(const std::function<std::string()>& work, double seconds,
                        double megabytes) {
    ChildOutcome outcome;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        outcome.report = "no pipe";
        return outcome;
    }
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        childMain(work, fds[1]);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        outcome.report = "cannot fork";
        return outcome;
    }
    // The report is written at the end and is small, so reading after the child has ended
    // cannot block it.
    const std::string statusFile = "/proc/" + std::to_string(pid) + "/status";
    std::string stopped;
    int status = 0;
    struct rusage usage {};
    for (;;) {
        if (::wait4(pid, &status, WNOHANG, &usage) == pid) {
            break;
        }
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double resident = statusMb(statusFile, "VmRSS");
        if (stopped.empty() && elapsed > seconds) {
            stopped = "stopped at the time limit of " + std::to_string(int(seconds)) + " s";
        } else if (stopped.empty() && resident > megabytes) {
            stopped = "stopped at the limit of " + std::to_string(int(megabytes)) + " MB resident";
        }
        if (!stopped.empty()) {
            ::kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
    char chunk[4096];
    std::string text;
    for (ssize_t n; (n = ::read(fds[0], chunk, sizeof chunk)) > 0;) {
        text.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    if (!stopped.empty()) {
        outcome.report = stopped;
    } else if (WIFSIGNALED(status)) {
        outcome.report = "crashed: signal " + std::to_string(WTERMSIG(status)) + " (" +
                         ::strsignal(WTERMSIG(status)) + ")";
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        outcome.finished = true;
        outcome.report = text;
    } else {
        outcome.report = text.empty() ? "exit status " + std::to_string(WEXITSTATUS(status)) : text;
    }
    return outcome;
}

}  // namespace scourix::bench
