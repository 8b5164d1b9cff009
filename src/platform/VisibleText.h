#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FormatCharacters.h"

namespace scourix {

namespace visible {

// The length of the shortest-form UTF-8 sequence at text[i], 0 when none begins there
// (a stray byte, an overlong form, a surrogate, a value past U+10FFFF, a cut sequence).
inline std::size_t sequenceAt(std::string_view text, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char c = b(0);
    std::size_t n = c < 0x80                 ? 1
                    : c >= 0xC2 && c <= 0xDF ? 2
                    : c >= 0xE0 && c <= 0xEF ? 3
                    : c >= 0xF0 && c <= 0xF4 ? 4
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

// The code point of the n-byte sequence at text[i], which sequenceAt has accepted.
inline char32_t codePointAt(std::string_view text, std::size_t i, std::size_t n) {
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t cp = static_cast<unsigned char>(text[i]) & kLeadBits[n];
    for (std::size_t k = 1; k < n; ++k) {
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    return cp;
}

inline void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
        return;
    }
    const int n = cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    static constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[n] | (cp >> (6 * (n - 1))));
    for (int k = n - 2; k >= 0; --k) {
        out += static_cast<char>(0x80 | ((cp >> (6 * k)) & 0x3F));
    }
}

inline bool isFormat(char32_t cp) {
    if (cp < kFormatCharacters.front().first) {
        return false;
    }
    const auto* after =
        std::upper_bound(kFormatCharacters.begin(), kFormatCharacters.end(), cp,
                         [](char32_t c, const CodeRange& r) { return c < r.first; });
    return cp <= (after - 1)->last;
}

// Whether a character is shown as an escape: a backslash, since it begins every escape;
// the controls (C0, DEL, C1); the line and paragraph separators, which break a line as a
// line feed does; and the format characters, which are invisible or reorder the text
// around them (a right-to-left override, zero-width spaces, the BOM, tag characters).
inline bool isEscaped(char32_t cp) {
    return cp < 0x20 || cp == '\\' || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029 ||
           isFormat(cp);
}

// Whether the byte at text[i], which begins a character of n bytes (0: a stray byte),
// is shown as an escape.
inline bool escapedAt(std::string_view text, std::size_t i, std::size_t n) {
    if (n == 1) {
        const auto c = static_cast<unsigned char>(text[i]);
        return c < 0x20 || c == '\\' || c == 0x7F;
    }
    return n == 0 || isEscaped(codePointAt(text, i, n));
}

inline void appendHex(std::string& out, char32_t value, int digits) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (int k = digits - 1; k >= 0; --k) {
        out += kHex[(value >> (4 * k)) & 0xF];
    }
}

// The value of exactly `digits` upper-case hex digits at text[i], nullopt when there are
// fewer or another character is among them.
inline std::optional<char32_t> hexAt(std::string_view text, std::size_t i, std::size_t digits) {
    if (i + digits > text.size()) {
        return std::nullopt;
    }
    char32_t value = 0;
    for (std::size_t k = 0; k < digits; ++k) {
        const char c = text[i + k];
        const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) {
            return std::nullopt;
        }
        value = (value << 4) | static_cast<char32_t>(d);
    }
    return value;
}

// Decodes the escape at text[i] (a backslash) onto out; its length, 0 when the backslash
// begins none. Only the form visibleText writes for a character is an escape of it.
inline std::size_t decodeEscapeAt(std::string_view text, std::size_t i, std::string& out) {
    if (i + 1 >= text.size()) {
        return 0;
    }
    switch (text[i + 1]) {
        case '\\':
            out += '\\';
            return 2;
        case 'n':
            out += '\n';
            return 2;
        case 'r':
            out += '\r';
            return 2;
        case 't':
            out += '\t';
            return 2;
        case 'x':
            if (const auto b = hexAt(text, i + 2, 2);
                b && (*b >= 0x7F || (*b < 0x20 && *b != '\n' && *b != '\r' && *b != '\t'))) {
                out += static_cast<char>(*b);
                return 4;
            }
            return 0;
        case 'u':
            if (const auto cp = hexAt(text, i + 2, 4); cp && *cp >= 0x80 && isEscaped(*cp)) {
                appendUtf8(out, *cp);
                return 6;
            }
            return 0;
        case 'U':
            if (const auto cp = hexAt(text, i + 2, 8); cp && *cp > 0xFFFF && isFormat(*cp)) {
                appendUtf8(out, *cp);
                return 10;
            }
            return 0;
        default:
            return 0;
    }
}

}  // namespace visible

// A file name may hold line breaks and other control characters, bytes that are not
// UTF-8, and characters that are invisible or turn the text around them (a right-to-left
// override makes "gpj.exe" read "exe.jpg"). Shown as they are, names would split a line,
// turn into other characters, or pass for other names; shown this way each name is one
// line, and two names that differ never look alike:
//   "\\" a backslash, "\n", "\r", "\t";
//   "\xHH" the other C0 controls, DEL, and every byte that is not part of a valid UTF-8
//          character;
//   "\uHHHH", "\UHHHHHHHH" the C1 controls, U+2028, U+2029, and the format characters
//          (Unicode category Cf), with four hex digits up to U+FFFF, eight above.
// Hex digits are upper case. decodeVisible takes such a text back to the bytes.
inline bool needsEscapes(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            ++i;  // the common case, kept short
            continue;
        }
        const std::size_t n = visible::sequenceAt(bytes, i);
        if (visible::escapedAt(bytes, i, n)) {
            return true;
        }
        i += n;
    }
    return false;
}

inline std::string visibleText(std::string_view bytes) {
    if (!needsEscapes(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() + 16);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = visible::sequenceAt(bytes, i);
        if (!visible::escapedAt(bytes, i, n)) {
            out.append(bytes, i, n);
            i += n;
            continue;
        }
        const char32_t cp =
            n == 0 ? static_cast<unsigned char>(bytes[i]) : visible::codePointAt(bytes, i, n);
        i += std::max<std::size_t>(n, 1);
        if (n > 1) {
            out += cp > 0xFFFF ? "\\U" : "\\u";
            visible::appendHex(out, cp, cp > 0xFFFF ? 8 : 4);
        } else if (cp == '\\' || cp == '\n' || cp == '\r' || cp == '\t') {
            out += '\\';
            out += cp == '\\' ? '\\' : cp == '\n' ? 'n' : cp == '\r' ? 'r' : 't';
        } else {
            out += "\\x";
            visible::appendHex(out, cp, 2);
        }
    }
    return out;
}

// Text as a person typed it, where a name may have been written the way it is shown:
// every escape is decoded, and a backslash that begins none stands for itself.
inline std::string decodeTyped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = text[i] == '\\' ? visible::decodeEscapeAt(text, i, out) : 0;
        if (n == 0) {
            out += text[i++];
        }
        i += n;
    }
    return out;
}

// The bytes whose visibleText is exactly text; nullopt when text is not what visibleText
// writes for any name (a backslash that begins no escape, lower-case hex, a line break or
// a format character left as it is, "\xC3\xA9" for "é"...), so that every text accepted
// stands for exactly one name.
inline std::optional<std::string> decodeVisible(std::string_view text) {
    std::string bytes = decodeTyped(text);
    if (visibleText(bytes) != text) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace scourix
