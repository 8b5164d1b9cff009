#include "types/SortOrder.h"

#include <cstdint>

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

struct Unit {
    std::uint32_t weight = 0;
    bool upper = false;
};

// Decodes one UTF-8 character at s[pos]; returns its length, or 0 when s[pos] does not
// start a valid sequence.
std::size_t decode(std::string_view s, std::size_t pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    std::size_t len = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        len = 2;
        cp = lead & 0x1F;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3;
        cp = lead & 0x0F;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (pos + len > s.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0;
    }
    return len;
}

bool evenUpper(char32_t cp, char32_t& lower, bool& upper) {
    upper = cp % 2 == 0;
    lower = upper ? cp + 1 : cp;
    return true;
}

bool oddUpper(char32_t cp, char32_t& lower, bool& upper) {
    upper = cp % 2 == 1;
    lower = upper ? cp + 1 : cp;
    return true;
}

bool inRange(char32_t cp, char32_t first, char32_t last) {
    return cp >= first && cp <= last;
}

// Latin Extended-B is irregular; its regular runs of upper/lower pairs are folded, the
// rest count as letters without case.
bool foldLatinExtendedB(char32_t cp, char32_t& lower, bool& upper) {
    if (inRange(cp, 0x1C4, 0x1CC) || inRange(cp, 0x1F1, 0x1F3)) {
        const char32_t base = cp >= 0x1F1 ? 0x1F1 : cp - (cp - 0x1C4) % 3;
        lower = base + 2;
        upper = cp != lower;
        return true;
    }
    if (inRange(cp, 0x1CD, 0x1DC)) {
        return oddUpper(cp, lower, upper);
    }
    if (inRange(cp, 0x1DE, 0x1EF) || inRange(cp, 0x1F4, 0x1F5) || inRange(cp, 0x1F8, 0x21F) ||
        inRange(cp, 0x222, 0x233) || inRange(cp, 0x246, 0x24F)) {
        return evenUpper(cp, lower, upper);
    }
    lower = cp;
    return true;
}

bool foldGreek(char32_t cp, char32_t& lower, bool& upper) {
    if (cp == 0x37E || cp == 0x387 || inRange(cp, 0x374, 0x375) || inRange(cp, 0x384, 0x385)) {
        return false;  // Greek punctuation and accents standing alone
    }
    upper = true;
    if (cp == 0x386) {
        lower = 0x3AC;
    } else if (inRange(cp, 0x388, 0x38A)) {
        lower = cp + 0x25;
    } else if (cp == 0x38C) {
        lower = 0x3CC;
    } else if (inRange(cp, 0x38E, 0x38F)) {
        lower = cp + 0x3F;
    } else if (inRange(cp, 0x391, 0x3AB) && cp != 0x3A2) {
        lower = cp + 0x20;
    } else if (inRange(cp, 0x370, 0x373) || inRange(cp, 0x3D8, 0x3EF)) {
        return evenUpper(cp, lower, upper);
    } else if (cp == 0x376) {
        lower = 0x377;
    } else {
        upper = false;
        lower = cp == 0x3C2 ? 0x3C3 : cp;  // final sigma is a sigma
    }
    return true;
}

bool foldCyrillic(char32_t cp, char32_t& lower, bool& upper) {
    if (cp == 0x482) {
        return false;  // thousands sign
    }
    upper = true;
    if (cp <= 0x40F) {
        lower = cp + 0x50;
    } else if (cp <= 0x42F) {
        lower = cp + 0x20;
    } else if (inRange(cp, 0x460, 0x481) || inRange(cp, 0x48A, 0x4BF) ||
               inRange(cp, 0x4D0, 0x52F)) {
        return evenUpper(cp, lower, upper);
    } else if (cp == 0x4C0) {
        lower = 0x4CF;
    } else if (inRange(cp, 0x4C1, 0x4CE)) {
        return oddUpper(cp, lower, upper);
    } else {
        upper = false;
        lower = cp;
    }
    return true;
}

// True when cp is a letter of the scripts whose case the order folds; lower receives its
// lower-case form and upper says whether cp itself was upper case.
bool foldLetter(char32_t cp, char32_t& lower, bool& upper) {
    upper = false;
    lower = cp;
    if (inRange(cp, 'A', 'Z')) {
        upper = true;
        lower = cp + 0x20;
        return true;
    }
    if (inRange(cp, 'a', 'z') || cp == 0xAA || cp == 0xB5 || cp == 0xBA) {
        return true;
    }
    if (inRange(cp, 0xC0, 0xFF)) {
        if (cp == 0xD7 || cp == 0xF7) {
            return false;
        }
        upper = cp <= 0xDE;
        lower = upper ? cp + 0x20 : cp;
        return true;
    }
    if (inRange(cp, 0x100, 0x17F)) {
        if (cp == 0x130) {  // dotted capital I
            upper = true;
            lower = 'i';
            return true;
        }
        if (cp == 0x178) {
            upper = true;
            lower = 0xFF;
            return true;
        }
        if (cp == 0x17F) {  // long s
            lower = 's';
            return true;
        }
        if (cp == 0x131 || cp == 0x138 || cp == 0x149) {
            return true;
        }
        if (inRange(cp, 0x139, 0x148) || inRange(cp, 0x179, 0x17E)) {
            return oddUpper(cp, lower, upper);
        }
        return evenUpper(cp, lower, upper);
    }
    if (inRange(cp, 0x180, 0x24F)) {
        return foldLatinExtendedB(cp, lower, upper);
    }
    if (inRange(cp, 0x250, 0x2AF)) {
        return true;  // IPA letters have no case
    }
    if (inRange(cp, 0x370, 0x3FF)) {
        return foldGreek(cp, lower, upper);
    }
    if (inRange(cp, 0x400, 0x52F) && !inRange(cp, 0x483, 0x489)) {
        return foldCyrillic(cp, lower, upper);
    }
    return false;
}

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
    if (foldLetter(cp, lower, upper)) {
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
            char32_t cp = 0;
            const std::size_t len = decode(s_, pos_, cp);
            if (len == 0) {
                unit = {weight(kOther, kInvalidByteBase + static_cast<unsigned char>(c)), false};
                ++pos_;
            } else {
                unit = classify(cp);
                pos_ += len;
            }
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
