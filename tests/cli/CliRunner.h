#pragma once

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace scourix::test {

// What a run of the built scourix-cli did.
struct Ran {
    int status = -1;  // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

inline std::string slurp(int fd) {
    std::string text;
    char block[4096];
    for (ssize_t n; (n = ::read(fd, block, sizeof block)) > 0 || (n < 0 && errno == EINTR);) {
        text.append(block, n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    return text;
}

inline int statusOf(int raw) {
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

inline void execCli(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    std::vector<char*> argv{const_cast<char*>(SCOURIX_CLI)};
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    for (const std::string& e : env) {
        ::putenv(const_cast<char*>(e.c_str()));
    }
    ::execv(SCOURIX_CLI, argv.data());
    ::_exit(127);
}

// Runs it without a terminal, with input on standard input; output and errors are
// collected through files so that neither pipe can fill up.
inline Ran runCli(const std::vector<std::string>& args, const std::string& input = "",
                  const std::vector<std::string>& env = {"LANG=C.UTF-8"}) {
    char outName[] = "/tmp/cli_out.XXXXXX";
    char errName[] = "/tmp/cli_err.XXXXXX";
    char inName[] = "/tmp/cli_in.XXXXXX";
    const int out = ::mkstemp(outName), err = ::mkstemp(errName), in = ::mkstemp(inName);
    (void)!::write(in, input.data(), input.size());
    ::lseek(in, 0, SEEK_SET);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();  // no controlling terminal: /dev/tty cannot be opened
        ::dup2(in, 0), ::dup2(out, 1), ::dup2(err, 2);
        execCli(args, env);
    }
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    Ran ran{statusOf(raw), {}, {}};
    ::lseek(out, 0, SEEK_SET), ::lseek(err, 0, SEEK_SET);
    ran.out = slurp(out), ran.err = slurp(err);
    for (int fd : {out, err, in}) {
        ::close(fd);
    }
    for (const char* name : {outName, errName, inName}) {
        ::unlink(name);
    }
    return ran;
}

// Runs it on a pseudo-terminal, waits for the question, does `meanwhile`, then answers it (or
// sends a signal instead when answer is empty). The terminal's whole text comes back in out.
inline Ran runOnTerminal(
    const std::vector<std::string>& args, const std::string& answer, int signal,
    const std::vector<std::string>& env, const std::function<void()>& meanwhile = [] {}) {
    int master = -1;
    winsize narrow{24, 30, 0, 0};  // so that the progress line must be cut to fit
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, &narrow);
    if (pid == 0) {
        ::close(0);
        ::open("/dev/null", O_RDONLY);  // the answer must come from the terminal itself
        execCli(args, env);
    }
    Ran ran;
    char block[512];
    while (ran.out.find("[y/N]") == std::string::npos) {
        const ssize_t n = ::read(master, block, sizeof block);
        if (n <= 0) {
            break;
        }
        ran.out.append(block, static_cast<std::size_t>(n));
    }
    meanwhile();
    if (signal != 0) {
        ::kill(pid, signal);
    } else {
        (void)!::write(master, answer.data(), answer.size());
    }
    for (ssize_t n; (n = ::read(master, block, sizeof block)) > 0;) {
        ran.out.append(block, static_cast<std::size_t>(n));
    }
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    ::close(master);
    ran.status = statusOf(raw);
    return ran;
}

}  // namespace scourix::test
