#pragma once

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace scourix::test {

// A system call stopped on its way into the kernel. The handler runs on another thread of the
// same process, so it may change the disk meanwhile, or make the call itself on the caller's
// descriptors and memory; it returns the call's answer (-errno for a failure, as an older
// kernel, another file system or a busy machine would give), or nothing to let the call run.
struct Trap {
    long call;
    std::function<std::optional<long>(const seccomp_data&)> handler;
};

// Whether the call's second argument, a path, ends with name.
inline bool named(const seccomp_data& call, std::string_view name) {
    return std::string_view(reinterpret_cast<const char*>(call.args[1])).ends_with(name);
}

// Fails the call with error where its path ends with name (any call for ""), the first `times`
// times (every time for -1).
inline Trap fails(long call, int error, std::string_view name = "", int times = -1) {
    return {call, [=, left = std::make_shared<int>(times)](const seccomp_data& data) {
                return (name.empty() || named(data, name)) && *left != 0 && (--*left, true)
                           ? std::optional<long>(-error)
                           : std::nullopt;
            }};
}

// Runs body in a child process with the traps set (as any user): what body returned, or
// "crashed".
inline std::string withTraps(const std::vector<Trap>& traps,
                             const std::function<std::string()>& body) {
    constexpr std::size_t kSize = 1 << 16;
    char* shared = static_cast<char*>(
        ::mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    const pid_t child = ::fork();
    if (child == 0) {
        std::promise<int> listener;
        // Started before the filter, which binds only the thread that sets it.
        std::thread answering([&, from = listener.get_future()]() mutable {
            const int fd = from.get();
            for (seccomp_notif call{}; ::ioctl(fd, SECCOMP_IOCTL_NOTIF_RECV, &call) == 0;
                 call = {}) {
                seccomp_notif_resp answer{call.id, 0, 0, SECCOMP_USER_NOTIF_FLAG_CONTINUE};
                for (const Trap& trap : traps) {
                    const auto r =
                        trap.call == call.data.nr ? trap.handler(call.data) : std::nullopt;
                    answer =
                        r ? seccomp_notif_resp{call.id, std::max(*r, 0l), int(std::min(*r, 0l)), 0}
                          : answer;
                }
                ::ioctl(fd, SECCOMP_IOCTL_NOTIF_SEND, &answer);
            }
        });
        std::vector<sock_filter> program{BPF_STMT(BPF_LD | BPF_W | BPF_ABS, 0)};  // the call
        for (const Trap& trap : traps) {
            program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, std::uint32_t(trap.call), 0, 1));
            program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
        }
        program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        const sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
        listener.set_value(::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
                               ? int(::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER,
                                               SECCOMP_FILTER_FLAG_NEW_LISTENER, &filter))
                               : -1);
        body().copy(shared, kSize - 1);
        ::_exit(0);
    }
    int status = 0;
    const std::string result =
        ::waitpid(child, &status, 0) == child && status == 0 ? shared : "crashed";
    ::munmap(shared, kSize);
    return result;
}

}  // namespace scourix::test
