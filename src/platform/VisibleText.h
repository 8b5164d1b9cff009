#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace scourix {

namespace visible {

// The length of the shortest-form UTF-8 sequence at text[i], 0 when none begins there
// (a stray byte, an overlong form, a surrogate, a value past U+10FFFF, a cut sequence).
inline std::size_t sequenceAt(std::string_view text, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char c = b(0);
    std::size_t n = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3
                                : c >= 0xF0 && c <= 0xF4                               ? 4
                                                                                       : 0;
    if (n == 0 || i + n > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // The second byte's range rules out overlong forms, surrogates and values too large.
    if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) > 0x9F) || (c == 0xF0 && b(1) < 0x90) ||
        (c == 0xF4 && b(1) > 0x8F)) {
        return 0;
    }
    return n;
}

inline bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

}  // namespace visible

// A file name may hold line breaks and other control characters, and bytes that are not
// UTF-8. Shown as they are, the first would split a line of a list or a report and the
// second would turn into other characters; shown this way each name stays one visible line
// that says what is on disk: "\n", "\r", "\t", and "\xHH" for the other control characters
// and for every byte that does not belong to a UTF-8 character.
inline bool needsEscapes(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = visible::sequenceAt(text, i);
        if (n == 0 || (n == 1 && visible::isControl(static_cast<unsigned char>(text[i])))) {
            return true;
        }
        i += n;
    }
    return false;
}

inline std::string visibleText(std::string_view text) {
    if (!needsEscapes(text)) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = visible::sequenceAt(text, i);
        const auto c = static_cast<unsigned char>(text[i]);
        if (n > 1 || (n == 1 && !visible::isControl(c))) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
        ++i;
    }
    return out;
}

}  // namespace scourix
