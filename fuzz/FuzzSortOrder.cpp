// The pattern list's sort comparison is a strict total order: irreflexive, antisymmetric,
// transitive, and equal only for the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "types/SortOrder.h"

using namespace scourix;

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Three texts separated by NUL bytes.
    std::string parts[3];
    std::size_t k = 0;
    for (std::size_t i = 0; i < size && k < 3; ++i) {
        if (data[i] == 0) {
            ++k;
        } else {
            parts[k] += static_cast<char>(data[i]);
        }
    }
    const std::string& a = parts[0];
    const std::string& b = parts[1];
    const std::string& c = parts[2];
    const int ab = SortOrder::compare(a, b);
    if (sign(ab) != -sign(SortOrder::compare(b, a))) {
        std::abort();
    }
    if ((ab == 0) != (a == b) || SortOrder::compare(a, a) != 0) {
        std::abort();
    }
    const int bc = SortOrder::compare(b, c);
    if (ab < 0 && bc < 0 && SortOrder::compare(a, c) >= 0) {
        std::abort();
    }
    if (ab > 0 && bc > 0 && SortOrder::compare(a, c) <= 0) {
        std::abort();
    }
    return 0;
}
