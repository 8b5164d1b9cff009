#include "platform/posix/MountTable.h"

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <unordered_map>

namespace scourix {

namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t end = std::min(line.find(' ', pos), line.size());
        if (end > pos) {
            fields.push_back(line.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return fields;
}

bool parseDevice(std::string_view field, std::uint64_t& device) {
    const std::size_t colon = field.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    unsigned int major = 0;
    unsigned int minor = 0;
    const char* mid = field.data() + colon;
    const char* end = field.data() + field.size();
    if (std::from_chars(field.data(), mid, major).ptr != mid ||
        std::from_chars(mid + 1, end, minor).ptr != end) {
        return false;
    }
    device = makedev(major, minor);
    return true;
}

bool isUnder(std::string_view path, std::string_view folder) {
    return path == folder ||
           (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

}  // namespace

MountTable MountTable::parse(std::string_view text) {
    MountTable table;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        const std::vector<std::string_view> f = splitFields(text.substr(pos, end - pos));
        pos = end + 1;
        // id parent major:minor root mount-point options [optional...] - type source super
        const auto dash = std::find(f.begin(), f.end(), std::string_view("-"));
        MountEntry entry;
        if (dash - f.begin() < 6 || f.end() - dash < 2 || !parseDevice(f[2], entry.device)) {
            continue;
        }
        entry.root = unescape(f[3]);
        entry.mountPoint = unescape(f[4]);
        entry.type = unescape(dash[1]);
        if (f.end() - dash >= 3) {
            entry.source = unescape(dash[2]);
        }
        table.entries_.push_back(std::move(entry));
    }
    return table;
}

MountTable MountTable::current() {
    std::string text;
    const int fd = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    // The file reports a size of 0: read until the end.
    std::array<char, 16384> buffer;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        text.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return parse(text);
}

std::string MountTable::typeOfDevice(std::uint64_t device) const {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->device == device) {
            return it->type;
        }
    }
    return {};
}

std::vector<std::string> MountTable::volumes() const {
    std::vector<std::string> order;
    std::unordered_map<std::string, bool> listed;
    for (const MountEntry& entry : entries_) {
        if (entry.mountPoint == "/" || entry.mountPoint.empty() || entry.mountPoint[0] != '/') {
            continue;
        }
        auto [it, inserted] = listed.try_emplace(entry.mountPoint, false);
        if (inserted) {
            order.push_back(entry.mountPoint);
        }
        it->second = isStorage(entry);
    }
    std::vector<std::string> result{"/"};
    for (const std::string& mountPoint : order) {
        if (listed[mountPoint]) {
            result.push_back(mountPoint + "/");
        }
    }
    return result;
}

bool MountTable::isVirtualType(std::string_view type) {
    static constexpr std::array<std::string_view, 21> kVirtual = {
        "proc",        "sysfs",      "devtmpfs",  "devpts",   "cgroup",    "cgroup2", "debugfs",
        "tracefs",     "securityfs", "pstore",    "bpf",      "configfs",  "fusectl", "mqueue",
        "binfmt_misc", "autofs",     "hugetlbfs", "efivarfs", "selinuxfs", "nsfs",    "rpc_pipefs"};
    return std::find(kVirtual.begin(), kVirtual.end(), type) != kVirtual.end();
}

bool MountTable::isStorage(const MountEntry& entry) {
    // Kernel and device places hold no user files, whatever is mounted there.
    for (std::string_view place : {"/proc", "/sys", "/dev"}) {
        if (isUnder(entry.mountPoint, place)) {
            return false;
        }
    }
    if (isVirtualType(entry.type)) {
        return false;
    }
    // Memory file systems under /run hold the system's run-time state; elsewhere (/tmp)
    // they hold the user's files. Removable media mounted under /run/media are storage.
    if ((entry.type == "tmpfs" || entry.type == "ramfs") && isUnder(entry.mountPoint, "/run")) {
        return false;
    }
    // Read-only images (snap packages), the mount helpers of the desktop and the
    // kernel's server-side file systems. An overlay counts as storage: it is what a
    // container or a live system keeps its files in.
    static constexpr std::array<std::string_view, 8> kSystem = {
        "squashfs",   "nfsd",          "fuse.gvfsd-fuse", "fuse.portal",
        "fuse.lxcfs", "fuse.snapfuse", "binderfs",        "resctrl"};
    return std::find(kSystem.begin(), kSystem.end(), entry.type) == kSystem.end();
}

std::string MountTable::unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
        if (field[i] == '\\' && field.size() - i >= 4 && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            out.push_back(static_cast<char>(((field[i + 1] - '0') << 6) |
                                            ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
            continue;
        }
        out.push_back(field[i]);
    }
    return out;
}

}  // namespace scourix
