#include "PeerPatterns.h"

#include <cstdio>
#include <optional>
#include <string_view>

namespace scourix::bench {
namespace {

bool endsInDotStar(std::string_view p) {
    return p.size() >= 2 && p.substr(p.size() - 2) == ".*";
}

// fnmatch reads "[" as a bracket expression and "\" as an escape; the scan reads neither.
std::string fnmatchLiteral(std::string_view p) {
    std::string out;
    for (char c : p) {
        if (c == '[' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

struct Token {
    char kind;  // '*', '?' or 'l' for a literal byte
    unsigned char byte = 0;
};
using Tokens = std::vector<Token>;

Tokens tokenize(std::string_view p) {
    Tokens out;
    for (char c : p) {
        if (c == '*' && !out.empty() && out.back().kind == '*') {
            continue;  // a run of stars is one star
        }
        out.push_back(c == '*' || c == '?' ? Token{c} : Token{'l', static_cast<unsigned char>(c)});
    }
    return out;
}

// "?" is one character, as the scan counts them: one UTF-8 sequence.
constexpr std::string_view kOneChar =
    R"((?:[\x00-\x7f]|[\xc2-\xdf][\x80-\xbf]|[\xe0-\xef][\x80-\xbf]{2}|[\xf0-\xf4][\x80-\xbf]{3}))";
constexpr std::string_view kOneCharNoDot =
    R"((?:[\x00-\x2d\x2f-\x7f]|[\xc2-\xdf][\x80-\xbf]|[\xe0-\xef][\x80-\xbf]{2}|[\xf0-\xf4][\x80-\xbf]{3}))";

std::string regexLiteral(unsigned char b) {
    if ((b >= '0' && b <= '9') || (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')) {
        return std::string(1, static_cast<char>(b));
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", b);
    return hex;
}

// The regex of tokens[from..]; with noDot (the dotless form of "X.*") no wildcard matches a
// dot and a literal dot cannot match at all.
std::optional<std::string> emit(const Tokens& t, std::size_t from, bool noDot) {
    std::string out;
    for (std::size_t i = from; i < t.size(); ++i) {
        if (t[i].kind == '*') {
            out += noDot ? "[^.]*" : ".*";
        } else if (t[i].kind == '?') {
            out += noDot ? kOneCharNoDot : kOneChar;
        } else if (noDot && t[i].byte == '.') {
            return std::nullopt;
        } else {
            out += regexLiteral(t[i].byte);
        }
    }
    return out;
}

// The same, for names that do not start with a dot. Without look-ahead, a leading "*" splits
// into "one byte that is not a dot, then anything" or "nothing, and the rest restricted".
std::optional<std::string> notHidden(const Tokens& t, std::size_t from, bool noDot) {
    if (from == t.size()) {
        return std::string();
    }
    const Token& first = t[from];
    if (first.kind == 'l') {
        if (first.byte == '.') {
            return std::nullopt;
        }
        return emit(t, from, noDot);
    }
    if (first.kind == '?') {
        auto rest = emit(t, from + 1, noDot);
        return rest ? std::optional(std::string(kOneCharNoDot) + *rest) : std::nullopt;
    }
    if (noDot) {
        return emit(t, from, noDot);  // "[^.]*" cannot start with a dot
    }
    const std::string some = "[^.].*" + emit(t, from + 1, false).value();
    const auto none = notHidden(t, from + 1, false);
    return none ? "(?:" + some + "|" + *none + ")" : some;
}

}  // namespace

std::vector<std::string> findNameTests(const std::vector<std::string>& patterns) {
    std::vector<std::string> out;
    for (const std::string& p : patterns) {
        if (!out.empty()) {
            out.push_back("-o");
        }
        out.insert(out.end(), {"-iname", fnmatchLiteral(p)});
        if (endsInDotStar(p)) {
            const std::string_view stem(p.data(), p.size() - 2);
            out.insert(out.end(),
                       {"-o", "(", "-iname", fnmatchLiteral(stem), "!", "-name", "*.*", ")"});
        }
    }
    return out;
}

std::string fdNameRegex(const std::vector<std::string>& patterns) {
    std::vector<std::string> alternatives;
    for (const std::string& p : patterns) {
        if (auto full = notHidden(tokenize(p), 0, false)) {
            alternatives.push_back(*full);
        }
        if (endsInDotStar(p)) {
            if (auto dotless = notHidden(tokenize(p.substr(0, p.size() - 2)), 0, true)) {
                alternatives.push_back(*dotless);
            }
        }
    }
    // Case-insensitive (ASCII, as every built-in pattern is), "." matching any byte.
    std::string regex = "(?is-u)^(?:";
    for (std::size_t i = 0; i < alternatives.size(); ++i) {
        regex += (i > 0 ? "|" : "") + alternatives[i];
    }
    return regex + ")$";
}

}  // namespace scourix::bench
