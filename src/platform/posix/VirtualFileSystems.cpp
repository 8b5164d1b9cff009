#include "platform/posix/VirtualFileSystems.h"

#include <sys/statfs.h>

#include "platform/posix/MountTable.h"

namespace scourix {

namespace {

// statfs type numbers of the file systems a walk never enters (linux/magic.h and the
// kernel sources for those it leaves out).
bool isVirtualMagic(std::uint32_t magic) {
    switch (magic) {
        case 0x9fa0:      // proc
        case 0x62656572:  // sysfs
        case 0x1cd1:      // devpts
        case 0x27e0eb:    // cgroup
        case 0x63677270:  // cgroup2
        case 0x64626720:  // debugfs
        case 0x74726163:  // tracefs
        case 0x73636673:  // securityfs
        case 0x6165676c:  // pstore
        case 0xcafe4a11:  // bpf
        case 0x62656570:  // configfs
        case 0x65735543:  // fusectl
        case 0x19800202:  // mqueue
        case 0x42494e4d:  // binfmt_misc
        case 0x0187:      // autofs
        case 0x958458f6:  // hugetlbfs
        case 0xde5e81e4:  // efivarfs: deleting a variable can leave a machine unbootable
        case 0xf97cff8c:  // selinuxfs
        case 0x6e736673:  // nsfs
            return true;
        default:
            return false;
    }
}
constexpr std::uint32_t kTmpfsMagic = 0x01021994;

}  // namespace

bool VirtualFileSystems::contains(int fd, std::uint64_t device) {
    std::lock_guard lock(mutex_);
    if (auto it = byDevice_.find(device); it != byDevice_.end()) {
        return it->second;
    }
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) {
        return false;  // asked again next time
    }
    const auto magic = static_cast<std::uint32_t>(fs.f_type);
    // devtmpfs shares tmpfs's magic number; only the mount table tells them apart.
    const bool isVirtual = magic == kTmpfsMagic
                               ? MountTable::current().typeOfDevice(device) == "devtmpfs"
                               : isVirtualMagic(magic);
    byDevice_.emplace(device, isVirtual);
    return isVirtual;
}

}  // namespace scourix
