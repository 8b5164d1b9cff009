#include "app/Utf8.h"

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

char32_t foldCase(char32_t c) {
    if (c < 0x80) {
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    }
    // Latin-1 capitals, except the multiplication sign.
    if ((c >= 0xC0 && c <= 0xDE) && c != 0xD7) {
        return c + 32;
    }
    // Latin Extended-A: capitals and small letters alternate in pairs.
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130) {
            return 'i';
        }
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
            return (c % 2 == 1) ? c + 1 : c;
        }
        if (c == 0x178) {
            return 0xFF;
        }
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) {
            return c;
        }
        return (c % 2 == 0) ? c + 1 : c;
    }
    // Greek.
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {
        return c + 32;
    }
    if (c == 0x386) {
        return 0x3AC;
    }
    if (c >= 0x388 && c <= 0x38A) {
        return c + 37;
    }
    if (c == 0x38C) {
        return 0x3CC;
    }
    if (c == 0x38E || c == 0x38F) {
        return c + 63;
    }
    // Cyrillic.
    if (c >= 0x410 && c <= 0x42F) {
        return c + 32;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 80;
    }
    if (c >= 0x460 && c <= 0x4FF && c != 0x482 && !(c >= 0x483 && c <= 0x489) && c != 0x4C0 &&
        c != 0x4CF) {
        if (c >= 0x4C1 && c <= 0x4CE) {
            return (c % 2 == 1) ? c + 1 : c;
        }
        return (c % 2 == 0) ? c + 1 : c;
    }
    // Armenian.
    if (c >= 0x531 && c <= 0x556) {
        return c + 48;
    }
    // Full-width Latin capitals.
    if (c >= 0xFF21 && c <= 0xFF3A) {
        return c + 32;
    }
    return c;
}

}  // namespace scourix::utf8
