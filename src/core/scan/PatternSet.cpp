#include "scan/PatternSet.h"

#include "base/Utf8.h"

namespace scourix {
namespace {

std::u32string foldText(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        out += utf8::foldCase(utf8::next(text, i));
    }
    return out;
}

bool hasWildcard(std::u32string_view s) {
    return s.find_first_of(U"*?") != std::u32string_view::npos;
}

// Glob matching with one backtracking point: linear for patterns with a single "*",
// never exponential.
template <class Ch>
bool glob(std::basic_string_view<Ch> p, std::basic_string_view<Ch> s) {
    std::size_t pi = 0;
    std::size_t si = 0;
    std::size_t starP = std::basic_string_view<Ch>::npos;
    std::size_t starS = 0;
    while (si < s.size()) {
        // A "*" in the pattern is always a wildcard, even against a "*" in the name.
        if (pi < p.size() && p[pi] == Ch('*')) {
            starP = pi++;
            starS = si;
        } else if (pi < p.size() && (p[pi] == Ch('?') || p[pi] == s[si])) {
            ++pi;
            ++si;
        } else if (starP != std::basic_string_view<Ch>::npos) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == Ch('*')) {
        ++pi;
    }
    return pi == p.size();
}

template <class Ch>
bool startsWith(std::basic_string_view<Ch> s, std::basic_string_view<Ch> prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

template <class Ch>
bool endsWith(std::basic_string_view<Ch> s, std::basic_string_view<Ch> suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

template <class Ch>
bool PatternSet::matchText(Kind kind, std::basic_string_view<Ch> p, std::basic_string_view<Ch> s) {
    switch (kind) {
        case Kind::Literal:
            return p == s;
        case Kind::Suffix:
            return endsWith(s, p);
        case Kind::Prefix:
            return startsWith(s, p);
        default:
            return glob(p, s);
    }
}

PatternSet::Form PatternSet::compileForm(std::u32string folded) {
    Form form;
    form.isAscii = true;
    for (char32_t c : folded) {
        if (c >= 0x80) {
            form.isAscii = false;
        }
    }
    if (!folded.empty() && folded.find_first_not_of(U'*') == std::u32string::npos) {
        form.kind = Kind::Any;
    } else if (!hasWildcard(folded)) {
        form.kind = Kind::Literal;
    } else if (folded.size() > 1 && folded[0] == U'*' && !hasWildcard(folded.substr(1))) {
        form.kind = Kind::Suffix;
        folded.erase(0, 1);
    } else if (folded.size() > 1 && folded.back() == U'*' &&
               !hasWildcard(std::u32string_view(folded).substr(0, folded.size() - 1))) {
        form.kind = Kind::Prefix;
        folded.pop_back();
    }
    if (form.isAscii) {
        form.ascii.assign(folded.begin(), folded.end());
    }
    form.text = std::move(folded);
    return form;
}

PatternSet::PatternSet(const std::vector<std::string>& patterns) {
    patterns_.reserve(patterns.size());
    for (const std::string& p : patterns) {
        Compiled c;
        std::u32string folded = foldText(p);
        if (folded.size() >= 2 && folded.compare(folded.size() - 2, 2, U".*") == 0) {
            c.hasDotStar = true;
            c.stripped = compileForm(folded.substr(0, folded.size() - 2));
        }
        c.full = compileForm(std::move(folded));
        patterns_.push_back(std::move(c));
    }
    byLastAscii_.assign(128, {});
    for (std::size_t i = 0; i < patterns_.size(); ++i) {
        const Form& full = patterns_[i].full;
        const char32_t last = full.text.empty() ? 0 : full.text.back();
        const bool anyEnding =
            full.kind == Kind::Any || full.kind == Kind::Prefix || last == U'*' || last == U'?';
        for (char32_t c = 0; c < 128; ++c) {
            if (anyEnding || last == c) {
                byLastAscii_[c].push_back(i);
            }
        }
    }
}

void PatternSet::prepare(std::string_view name, Name& out) {
    out.isAscii = true;
    out.hasDot = name.find('.') != std::string_view::npos;
    out.ascii.clear();
    for (char ch : name) {
        auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80) {
            out.isAscii = false;
            break;
        }
        out.ascii += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
    }
    if (!out.isAscii) {
        out.wide = foldText(name);
    }
}

bool PatternSet::matchForm(const Form& form, const Name& name) {
    if (form.kind == Kind::Any) {
        return true;
    }
    // An ASCII name can only match a pattern whose literal characters are ASCII too.
    if (name.isAscii) {
        if (!form.isAscii) {
            return false;
        }
        return matchText<char>(form.kind, form.ascii, name.ascii);
    }
    return matchText<char32_t>(form.kind, form.text, name.wide);
}

bool PatternSet::matchPrepared(const Compiled& c, const Name& name) const {
    if (matchForm(c.full, name)) {
        return true;
    }
    return c.hasDotStar && !name.hasDot && matchForm(c.stripped, name);
}

void PatternSet::matchAll(std::string_view name, std::vector<std::size_t>& out,
                          Scratch& scratch) const {
    out.clear();
    prepare(name, scratch);
    if (scratch.isAscii && !scratch.ascii.empty()) {
        for (std::size_t i : byLastAscii_[static_cast<unsigned char>(scratch.ascii.back())]) {
            if (matchPrepared(patterns_[i], scratch)) {
                out.push_back(i);
            }
        }
        return;
    }
    for (std::size_t i = 0; i < patterns_.size(); ++i) {
        if (matchPrepared(patterns_[i], scratch)) {
            out.push_back(i);
        }
    }
}

bool PatternSet::matches(std::size_t pattern, std::string_view name) const {
    Scratch scratch;
    prepare(name, scratch);
    return matchPrepared(patterns_[pattern], scratch);
}

}  // namespace scourix
