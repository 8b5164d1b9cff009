// The compiled wildcards against a plain recursive matcher over folded characters.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/Utf8.h"
#include "scan/PatternSet.h"

using namespace scourix;

namespace {

std::u32string folded(const std::string& s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size();) {
        out += utf8::foldCase(utf8::next(s, i));
    }
    return out;
}

// Whether p matches s, by the textbook table: m[i][j] says whether the first i pattern
// characters match the first j name characters.
bool reference(std::u32string_view p, std::u32string_view s) {
    std::vector<std::vector<bool>> m(p.size() + 1, std::vector<bool>(s.size() + 1, false));
    m[0][0] = true;
    for (std::size_t i = 1; i <= p.size(); ++i) {
        for (std::size_t j = 0; j <= s.size(); ++j) {
            if (p[i - 1] == U'*') {
                m[i][j] = m[i - 1][j] || (j > 0 && m[i][j - 1]);
            } else {
                m[i][j] = j > 0 && m[i - 1][j - 1] && (p[i - 1] == U'?' || p[i - 1] == s[j - 1]);
            }
        }
    }
    return m[p.size()][s.size()];
}

bool referenceMatch(const std::string& pattern, const std::string& name) {
    const std::u32string p = folded(pattern);
    const std::u32string s = folded(name);
    if (reference(p, s)) {
        return true;
    }
    const bool dotStar = p.size() >= 2 && p.compare(p.size() - 2, 2, U".*") == 0;
    return dotStar && name.find('.') == std::string::npos &&
           reference(std::u32string_view(p).substr(0, p.size() - 2), s);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Pattern and name are separated by the first NUL.
    const std::string input(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 256));
    const std::size_t nul = input.find('\0');
    if (nul == std::string::npos) {
        return 0;
    }
    const std::string pattern = input.substr(0, nul);
    const std::string name = input.substr(nul + 1);
    if (name.empty()) {
        return 0;
    }
    const PatternSet set({pattern, "*.tmp", pattern});
    std::vector<std::size_t> all;
    set.matchAll(name, all);
    const bool expected = referenceMatch(pattern, name);
    if (set.matches(0, name) != expected || set.matches(2, name) != expected) {
        std::abort();
    }
    const bool listed = !all.empty() && all.front() == 0;
    if (listed != expected) {
        std::abort();
    }
    return 0;
}
