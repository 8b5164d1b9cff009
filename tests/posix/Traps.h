#pragma once

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace scourix::test {

// A system call stopped on its way into the kernel: the handler, on another thread, may
// change the disk meanwhile, and returns the errno the call fails with (as an older kernel,
// another file system or a busy machine would answer), or 0 to let the call run.
struct Trap {
    long call;
    std::function<int(const seccomp_data&)> handler;
};

// Whether the call's second argument, a path, ends with name.
inline bool named(const seccomp_data& call, std::string_view name) {
    return std::string_view(reinterpret_cast<const char*>(call.args[1])).ends_with(name);
}

// Runs body in a child process with the traps set (as any user); returns what body returned,
// or "crashed".
inline std::string withTraps(const std::vector<Trap>& traps,
                             const std::function<std::string()>& body) {
    int out[2];
    if (::pipe(out) != 0) {
        return "no pipe";
    }
    if (const pid_t child = ::fork(); child == 0) {
        std::promise<int> listener;
        // Started before the filter, which binds only the thread that sets it.
        std::thread answering([&, from = listener.get_future()]() mutable {
            const int fd = from.get();
            for (seccomp_notif call{}; ::ioctl(fd, SECCOMP_IOCTL_NOTIF_RECV, &call) == 0;
                 call = {}) {
                seccomp_notif_resp answer{call.id, 0, 0, SECCOMP_USER_NOTIF_FLAG_CONTINUE};
                for (const Trap& trap : traps) {
                    if (trap.call == call.data.nr && (answer.error = -trap.handler(call.data))) {
                        answer.flags = 0;
                    }
                }
                ::ioctl(fd, SECCOMP_IOCTL_NOTIF_SEND, &answer);
            }
        });
        std::vector<sock_filter> program{
            BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
        for (const Trap& trap : traps) {
            program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, std::uint32_t(trap.call), 0, 1));
            program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
        }
        program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        const sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
        int fd = -1;
        if (!traps.empty() && ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0) {
            fd = int(::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER,
                               SECCOMP_FILTER_FLAG_NEW_LISTENER, &filter));
        }
        listener.set_value(fd);
        const std::string result = traps.empty() || fd >= 0 ? body() : "no traps";
        ::_exit(::write(out[1], result.data(), result.size()) == ssize_t(result.size()) ? 0 : 1);
    } else {
        ::close(out[1]);
        std::string result;
        char buffer[4096];
        for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) {
            result.append(buffer, std::size_t(n));
        }
        ::close(out[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : "crashed";
    }
}

}  // namespace scourix::test
