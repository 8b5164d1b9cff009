#include "scan/NameOrder.h"

#include "base/Utf8.h"

namespace scourix {
namespace {

int foldedCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        char32_t x;
        char32_t y;
        if (ca < 0x80 && cb < 0x80) {
            x = (ca >= 'A' && ca <= 'Z') ? ca + 32 : ca;
            y = (cb >= 'A' && cb <= 'Z') ? cb + 32 : cb;
            ++i;
            ++j;
        } else {
            x = utf8::foldCase(utf8::next(a, i));
            y = utf8::foldCase(utf8::next(b, j));
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

}  // namespace

bool nameLess(std::string_view a, std::string_view b) {
    const int c = foldedCompare(a, b);
    return c != 0 ? c < 0 : a < b;
}

}  // namespace scourix
