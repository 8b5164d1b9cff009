#include "base/Utf8.h"

#include <algorithm>
#include <iterator>

#include "base/CaseFoldingTable.h"

namespace scourix::utf8 {

char32_t next(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t len = 0;
    char32_t c = 0;
    char32_t min = 0;
    if ((lead & 0xE0) == 0xC0) {
        len = 2, c = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        len = 3, c = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        len = 4, c = lead & 0x07, min = 0x10000;
    }
    if (len == 0 || i + len > text.size()) {
        ++i;
        return 0xDC00 + lead;
    }
    for (std::size_t k = 1; k < len; ++k) {
        const unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xDC00 + lead;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return 0xDC00 + lead;
    }
    i += len;
    return c;
}

namespace {

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

bool classifyLetter(char32_t cp, char32_t& lower, bool& upper) {
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

}  // namespace

bool foldLetter(char32_t cp, char32_t& lower, bool& upper) {
    // Which characters are letters, and which of them capitals, is the table above's; the
    // form they sort by is Unicode's folding.
    if (!classifyLetter(cp, lower, upper)) {
        return false;
    }
    lower = foldCase(cp);
    upper = upper && lower != cp;
    return true;
}

char32_t foldCase(char32_t c) {
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    }
    const auto* end = std::end(kCaseFolding);
    const auto* at = std::lower_bound(std::begin(kCaseFolding), end, c,
                                      [](const CaseFold& f, char32_t cp) { return f.from < cp; });
    return at != end && at->from == c ? at->to : c;
}

}  // namespace scourix::utf8
