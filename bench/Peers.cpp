#include "Peers.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

extern char** environ;

namespace scourix::bench {

std::size_t bareWalk(const std::string& root) {
    DIR* dir = ::opendir(root.c_str());
    if (dir == nullptr) {
        return 0;
    }
    std::size_t count = 0;
    std::vector<std::string> folders;
    while (dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) {
            continue;
        }
        ++count;
        if (e->d_type == DT_DIR) {
            folders.push_back(root + "/" + e->d_name);
        }
    }
    ::closedir(dir);
    for (const std::string& f : folders) {
        count += bareWalk(f);
    }
    return count;
}

int runQuietly(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& a : argv) {
        args.push_back(const_cast<char*>(a.c_str()));
    }
    args.push_back(nullptr);
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

std::vector<std::string> findArguments(const std::string& root,
                                       const std::vector<std::string>& patterns) {
    std::vector<std::string> argv{"find", root, "-type", "f", "!", "-name", ".*", "("};
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        if (i > 0) {
            argv.push_back("-o");
        }
        argv.push_back("-iname");
        argv.push_back(patterns[i]);
    }
    argv.push_back(")");
    argv.push_back("-print");
    return argv;
}

}  // namespace scourix::bench
