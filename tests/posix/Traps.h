#pragma once

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>

#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#if defined(__SANITIZE_THREAD__)
extern "C" void __tsan_ignore_thread_begin();
#endif

namespace scourix::test {

// A system call stopped on its way into the kernel, and its handler, run on another thread of
// the process: it may change the disk meanwhile or make the call itself, and gives the call's
// answer (-errno for a failure, as an older kernel or a busy machine would), or nothing to let
// the call run.
using Trap = std::pair<long, std::function<std::optional<long>(const seccomp_data&)>>;

inline std::string_view pathOf(const seccomp_data& call) {
    return reinterpret_cast<const char*>(call.args[1]);
}

// Fails the call with error where its path ends with name, the first `times` times.
inline Trap fails(long call, int error, std::string_view name = "", int times = -1) {
    return {call, [=, left = std::make_shared<int>(times)](const seccomp_data& data) {
                return pathOf(data).ends_with(name) && (*left)-- != 0 ? std::optional<long>(-error)
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
        std::thread([&, from = listener.get_future()]() mutable {
            const int fd = from.get();
#if defined(__SANITIZE_THREAD__)
            __tsan_ignore_thread_begin();  // it meets the caller through the kernel, unseen
#endif
            for (seccomp_notif in{}; ::ioctl(fd, SECCOMP_IOCTL_NOTIF_RECV, &in) == 0; in = {}) {
                seccomp_notif_resp answer{in.id, 0, 0, SECCOMP_USER_NOTIF_FLAG_CONTINUE};
                for (const auto& [call, handler] : traps) {
                    if (const auto r = call == in.data.nr ? handler(in.data) : std::nullopt) {
                        answer = {in.id, *r < 0 ? 0 : *r, int(*r < 0 ? *r : 0), 0};
                    }
                }
                ::ioctl(fd, SECCOMP_IOCTL_NOTIF_SEND, &answer);
            }
        }).detach();
        std::vector<sock_filter> program{BPF_STMT(BPF_LD | BPF_W | BPF_ABS, 0)};  // the call
        for (const auto& [call, handler] : traps) {
            program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, std::uint32_t(call), 0, 1));
            program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
        }
        program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
        const sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
        ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
        listener.set_value(int(::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER,
                                         SECCOMP_FILTER_FLAG_NEW_LISTENER, &filter)));
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
