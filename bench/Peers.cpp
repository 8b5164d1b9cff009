#include "Peers.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "PeerPatterns.h"

extern char** environ;

namespace scourix::bench {
namespace {

constexpr std::size_t kBufferBytes = 32768;  // as the scan's own listing reads

// Reads the whole folder before descending, so that one buffer serves every level and only
// the descriptors of the current path stay open.
std::size_t walkAt(int fd, char* buffer) {
    std::size_t count = 0;
    std::string folders;  // NUL-separated names
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer, kBufferBytes);
        if (n <= 0) {
            break;
        }
        for (ssize_t offset = 0; offset < n;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += e->d_reclen;
            const char* name = e->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) {
                continue;
            }
            ++count;
            unsigned char type = e->d_type;
            if (type == DT_UNKNOWN) {
                struct stat st {};
                if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                    type = static_cast<unsigned char>(IFTODT(st.st_mode));
                }
            }
            if (type == DT_DIR) {
                folders.append(name).push_back('\0');
            }
        }
    }
    for (std::size_t at = 0; at < folders.size(); at = folders.find('\0', at) + 1) {
        const int sub =
            ::openat(fd, folders.c_str() + at, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub >= 0) {
            count += walkAt(sub, buffer);
            ::close(sub);
        }
    }
    return count;
}

std::vector<char*> pointers(const std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (const std::string& s : strings) {
        out.push_back(const_cast<char*>(s.c_str()));
    }
    out.push_back(nullptr);
    return out;
}

// This process's environment with the given entries replacing those of the same name.
std::vector<std::string> environmentWith(const std::vector<std::string>& extra) {
    std::vector<std::string> out;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry(*e);
        const bool replaced = std::any_of(extra.begin(), extra.end(), [&](const std::string& x) {
            return entry.substr(0, entry.find('=') + 1) == x.substr(0, x.find('=') + 1);
        });
        if (!replaced) {
            out.emplace_back(entry);
        }
    }
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

}  // namespace

std::size_t bareWalk(const std::string& root) {
    const int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    std::vector<char> buffer(kBufferBytes);
    const std::size_t count = walkAt(fd, buffer.data());
    ::close(fd);
    return count;
}

std::size_t readdirWalk(const std::string& root) {
    DIR* dir = ::opendir(root.c_str());
    if (dir == nullptr) {
        return 0;
    }
    std::size_t count = 0;
    std::vector<std::string> folders;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) {
            continue;
        }
        ++count;
        if (e->d_type == DT_DIR) {
            folders.push_back(root + "/" + e->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& folder : folders) {
        count += readdirWalk(folder);
    }
    return count;
}

int runQuietly(const std::vector<std::string>& argv) {
    auto args = pointers(argv);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        return -1;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Captured runCaptured(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    Captured out;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        return out;
    }
    auto args = pointers(argv);
    const auto envStrings = environmentWith(env);
    auto envp = pointers(envStrings);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (rc == 0) {
        char chunk[65536];
        for (;;) {
            const ssize_t n = ::read(pipeFds[0], chunk, sizeof chunk);
            if (n <= 0) {
                break;
            }
            out.output.append(chunk, static_cast<std::size_t>(n));
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(pipeFds[0]);
    return out;
}

std::vector<std::string> uniquePaths(const std::string& nulSeparated) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < nulSeparated.size();) {
        const std::size_t end = nulSeparated.find('\0', at);
        out.push_back(nulSeparated.substr(at, end - at));
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool installed(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (std::size_t at = 0; at <= dirs.size();) {
        std::size_t end = dirs.find(':', at);
        end = end == std::string::npos ? dirs.size() : end;
        const std::string candidate = dirs.substr(at, end - at) + "/" + program;
        if (end > at && ::access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        at = end + 1;
    }
    return false;
}

std::vector<std::string> findArguments(const std::string& program, const std::string& root,
                                       const std::vector<std::string>& patterns) {
    std::vector<std::string> argv{program, root, "(", "-type", "f",  "-o", "-type",
                                  "l",     ")",  "!", "-name", ".*", "("};
    const auto tests = findNameTests(patterns);
    argv.insert(argv.end(), tests.begin(), tests.end());
    argv.insert(argv.end(), {")", "-print0"});
    return argv;
}

std::vector<std::string> fdArguments(const std::string& root,
                                     const std::vector<std::string>& patterns) {
    return {"fdfind", "-H", "-I", "--no-ignore",         "-t", "f",
            "-t",     "l",  "-0", fdNameRegex(patterns), root};
}

}  // namespace scourix::bench
