#include "types/LinuxTypes.h"

#include <array>
#include <cstdint>
#include <string>

namespace scourix {
namespace {

constexpr std::array<std::string_view, 12> kLinux{
    "*~",   "#*#",    "*.orig", "*.rej",  "*.pyc",  "*.pyo",
    "core", "core.*", ".*.swp", ".*.swo", "*.part", "*.crdownload",
};

constexpr unsigned char kDataLsb = 1;
constexpr unsigned char kDataMsb = 2;
constexpr std::uint16_t kCoreType = 4;  // e_type of a core file

}  // namespace

std::span<const std::string_view> linuxTypes() {
    return kLinux;
}

bool needsCoreCheck(std::string_view pattern) {
    // Patterns compare without regard to case, so "CORE" is the same pattern.
    const auto lower = [](std::string_view text) {
        std::string out(text);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return out;
    };
    const std::string folded = lower(pattern);
    return folded == "core" || folded == "core.*";
}

bool isElfCore(std::string_view head) {
    if (head.size() < kElfHeadBytes || head.substr(0, 4) !=
                                           "\x7F"
                                           "ELF") {
        return false;
    }
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(head[i]));
    };
    // e_type follows the 16 identification bytes in the file's own byte order.
    const unsigned char order = static_cast<unsigned char>(head[5]);
    std::uint16_t type = 0;
    if (order == kDataLsb) {
        type = static_cast<std::uint16_t>(byte(16) | byte(17) << 8);
    } else if (order == kDataMsb) {
        type = static_cast<std::uint16_t>(byte(16) << 8 | byte(17));
    } else {
        return false;
    }
    return type == kCoreType;
}

}  // namespace scourix
