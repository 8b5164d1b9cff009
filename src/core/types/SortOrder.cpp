#include "types/SortOrder.h"

#include <cstdint>

#include "base/Utf8.h"

namespace scourix {
namespace {

// The weight of a character is its class in the top bits and its value within the class
// below, so that one integer comparison orders both.
enum CharClass : std::uint32_t { kPunct = 0, kDigit = 1, kLetter = 2, kOther = 3 };

constexpr std::uint32_t weight(CharClass c, std::uint32_t value) {
    return (static_cast<std::uint32_t>(c) << 24) | value;
}

// Bytes that are not valid UTF-8 sort after every character.
constexpr std::uint32_t kInvalidByteBase = 0x110000;

constexpr bool inRange(char32_t cp, char32_t first, char32_t last) {
    return cp >= first && cp <= last;
}

struct Unit {
    std::uint32_t weight = 0;
    bool upper = false;
};

bool isPunctuation(char32_t cp) {
    return cp < 0x80 || inRange(cp, 0x80, 0xBF) || cp == 0xD7 || cp == 0xF7 ||
           inRange(cp, 0x2000, 0x2BFF) || inRange(cp, 0x3000, 0x303F) ||
           inRange(cp, 0xFE30, 0xFE6F) || inRange(cp, 0xFF5F, 0xFF65);
}

Unit classify(char32_t cp) {
    // Full-width forms of ASCII sort as the characters they stand for.
    if (inRange(cp, 0xFF01, 0xFF5E)) {
        cp -= 0xFEE0;
    }
    if (inRange(cp, '0', '9')) {
        return {weight(kDigit, cp - '0'), false};
    }
    char32_t lower = cp;
    bool upper = false;
    if (utf8::foldLetter(cp, lower, upper)) {
        return {weight(kLetter, lower), upper};
    }
    if (isPunctuation(cp)) {
        return {weight(kPunct, cp), false};
    }
    return {weight(kOther, cp), false};
}

// Walks a text's characters, passing over hyphens and apostrophes.
class Cursor {
public:
    explicit Cursor(std::string_view s) : s_(s) {}

    bool next(Unit& unit) {
        while (pos_ < s_.size()) {
            const char c = s_[pos_];
            if (c == '-' || c == '\'') {
                ++pos_;
                continue;
            }
            const char32_t cp = utf8::next(s_, pos_);
            unit = utf8::isRawByte(cp)
                       ? Unit{weight(kOther, kInvalidByteBase + (cp - 0xDC00)), false}
                       : classify(cp);
            return true;
        }
        return false;
    }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

// Compares the two texts' characters by weight, or, with byCase, by case alone (lower case
// first); a text that runs out first sorts first.
int compareUnits(std::string_view a, std::string_view b, bool byCase) {
    Cursor ca(a);
    Cursor cb(b);
    for (;;) {
        Unit ua;
        Unit ub;
        const bool ha = ca.next(ua);
        const bool hb = cb.next(ub);
        if (!ha || !hb) {
            return ha == hb ? 0 : (ha ? 1 : -1);
        }
        if (byCase) {
            if (ua.upper != ub.upper) {
                return ua.upper ? 1 : -1;
            }
        } else if (ua.weight != ub.weight) {
            return ua.weight < ub.weight ? -1 : 1;
        }
    }
}

}  // namespace

int SortOrder::compare(std::string_view a, std::string_view b) {
    if (int c = compareUnits(a, b, false); c != 0) {
        return c;
    }
    if (int c = compareUnits(a, b, true); c != 0) {
        return c;
    }
    // Texts still equal differ at most in hyphens, apostrophes or width: the bytes decide.
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::size_t SortOrder::insertionIndex(const CheckList& list, std::string_view text) {
    std::size_t lo = 0;
    std::size_t hi = list.count();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (less(text, list.text(mid))) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

std::size_t SortOrder::insertSorted(CheckList& list, std::string text) {
    const std::size_t i = insertionIndex(list, text);
    list.insert(i, std::move(text));
    return i;
}

}  // namespace scourix
