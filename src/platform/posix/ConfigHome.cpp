#include "platform/posix/ConfigHome.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace scourix {

namespace {

constexpr const char* kOwnFolder = "/scourix";

const char* absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? value : nullptr;
}

// The effective user's home from the password database; "" when it has none of theirs.
std::string homeOfRecord() {
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    while (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < (1u << 20)) {
        buffer.resize(buffer.size() * 2);
    }
    if (found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/' ||
        !ConfigHome::ownedByMe(found->pw_dir)) {
        return {};
    }
    return found->pw_dir;
}

}  // namespace

bool ConfigHome::ownedByMe(const std::string& path) {
    std::string at = path;
    for (;;) {
        struct stat st {};
        if (::stat(at.c_str(), &st) == 0) {
            return st.st_uid == ::geteuid();
        }
        const std::size_t slash = at.find_last_of('/');
        if (slash == std::string::npos || at == "/") {
            return false;
        }
        at.resize(slash == 0 ? 1 : slash);
    }
}

std::string ConfigHome::folder() {
    const char* home = absoluteVariable("HOME");
    const char* config = absoluteVariable("XDG_CONFIG_HOME");
    if ((home != nullptr && !ownedByMe(home)) || (config != nullptr && !ownedByMe(config))) {
        const std::string own = homeOfRecord();
        return own.empty() ? own : own + "/.config" + kOwnFolder;
    }
    if (config != nullptr) {
        return config + std::string(kOwnFolder);
    }
    if (home != nullptr) {
        return home + std::string("/.config") + kOwnFolder;
    }
    return {};
}

}  // namespace scourix
