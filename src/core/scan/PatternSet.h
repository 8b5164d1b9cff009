#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scourix {

// File-name wildcards, compiled once per scan. "*" stands for any run of characters and
// "?" for exactly one; letters compare without regard to case; every other character is
// literal. As users of these patterns expect, a pattern ending in ".*" also matches a
// name without a dot ("chklist.*" matches "chklist", "*.*" matches every name).
class PatternSet {
public:
    explicit PatternSet(const std::vector<std::string>& patterns);

    // A name prepared once for all patterns; each thread that matches keeps its own.
    struct Scratch {
        bool isAscii = true;
        bool hasDot = false;
        std::string ascii;    // folded, when isAscii
        std::u32string wide;  // folded, otherwise
    };

    std::size_t size() const { return patterns_.size(); }

    // The indexes, ascending, of the patterns that name matches; out is overwritten.
    void matchAll(std::string_view name, std::vector<std::size_t>& out, Scratch& scratch) const;
    void matchAll(std::string_view name, std::vector<std::size_t>& out) const {
        Scratch scratch;
        matchAll(name, out, scratch);
    }
    bool matches(std::size_t pattern, std::string_view name) const;

private:
    // Most patterns are a literal, a suffix ("*.tmp") or a prefix ("~*"): each is tested by
    // one comparison; the general matcher takes the rest.
    enum class Kind { Any, Literal, Suffix, Prefix, Glob };
    using Name = Scratch;

    struct Form {
        Kind kind = Kind::Glob;
        std::u32string text;  // folded; for Suffix and Prefix without the "*"
        std::string ascii;    // the same in bytes, when the pattern is ASCII only
        bool isAscii = false;
    };

    struct Compiled {
        Form full;
        bool hasDotStar = false;  // ends in ".*": also tried without it on dotless names
        Form stripped;
    };

    static Form compileForm(std::u32string folded);
    template <class Ch>
    static bool matchText(Kind kind, std::basic_string_view<Ch> p, std::basic_string_view<Ch> s);
    static bool matchForm(const Form& form, const Name& name);
    bool matchPrepared(const Compiled& c, const Name& name) const;
    static void prepare(std::string_view name, Name& out);

    std::vector<Compiled> patterns_;
    // For an ASCII name, the patterns that can match a name ending in that character:
    // those ending in it and those ending in a wildcard. Most names are checked against
    // a handful of patterns instead of all of them.
    std::vector<std::vector<std::size_t>> byLastAscii_;
};

}  // namespace scourix
