#include "cli/NameEscapes.h"

#include <cstdint>

#include "platform/VisibleText.h"

namespace scourix {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

char32_t decodeAt(std::string_view s, std::size_t i, std::size_t n) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    if (n == 1) {
        return b(0);
    }
    char32_t c = b(0) & (0xFF >> (n + 1));
    for (std::size_t k = 1; k < n; ++k) {
        c = (c << 6) | (b(k) & 0x3F);
    }
    return c;
}

// Characters that show nothing or move the text around: C1 controls, the separators and
// the format characters most likely to disguise a name.
bool invisible(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || c == 0xAD || c == 0x061C || c == 0x180E ||
           (c >= 0x200B && c <= 0x200F) || (c >= 0x2028 && c <= 0x202E) ||
           (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB) ||
           (c >= 0xE0000 && c <= 0xE007F) || c == 0x0600 || c == 0x06DD || c == 0x110BD;
}

void appendHex(std::string& out, std::uint32_t value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        out += kHex[(value >> shift) & 0xF];
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string escapeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t n = visible::sequenceAt(name, i);
        const auto byte = static_cast<unsigned char>(name[i]);
        if (n == 0 || (n == 1 && visible::isControl(byte))) {
            if (byte == '\n') {
                out += "\\n";
            } else if (byte == '\r') {
                out += "\\r";
            } else if (byte == '\t') {
                out += "\\t";
            } else {
                out += "\\x";
                appendHex(out, byte, 2);
            }
            ++i;
            continue;
        }
        const char32_t c = decodeAt(name, i, n);
        if (c == '\\') {
            out += "\\\\";
        } else if (invisible(c)) {
            out += c > 0xFFFF ? "\\U" : "\\u";
            appendHex(out, c, c > 0xFFFF ? 8 : 4);
        } else {
            out.append(name, i, n);
        }
        i += n;
    }
    return out;
}

std::string unescapeName(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char kind = text[i + 1];
        const char* plain = kind == '\\'  ? "\\"
                            : kind == 'n' ? "\n"
                            : kind == 'r' ? "\r"
                            : kind == 't' ? "\t"
                                          : nullptr;
        if (plain != nullptr) {
            out += plain;
            ++i;
            continue;
        }
        const std::size_t digits = kind == 'x' ? 2 : kind == 'u' ? 4 : kind == 'U' ? 8 : 0;
        std::uint32_t value = 0;
        bool whole = digits > 0 && i + 2 + digits <= text.size();
        for (std::size_t k = 0; whole && k < digits; ++k) {
            const int h = hexValue(text[i + 2 + k]);
            whole = h >= 0;
            value = (value << 4) | static_cast<std::uint32_t>(h < 0 ? 0 : h);
        }
        if (!whole || (digits > 2 && (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)))) {
            out += '\\';
            continue;
        }
        if (digits == 2) {
            out += static_cast<char>(value);
        } else {
            appendUtf8(out, value);
        }
        i += 1 + digits;
    }
    return out;
}

}  // namespace scourix
