#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "scan/PatternSet.h"

namespace scourix {
namespace {

TEST(PatternSetTest, WildcardsCaseAndLiterals) {
    // A pattern, names it matches, names it does not.
    using Names = std::vector<const char*>;
    const std::vector<std::tuple<const char*, Names, Names>> cases = {
        // "*" any run, "?" exactly one character; letters compare without case.
        {"*", {"", "abc"}, {}},
        {"a?c", {"abc", "AXC"}, {"ac", "abbc"}},
        {"??", {"ab", "中文"}, {"中", "abc"}},
        {"a*a*a", {"aaa", "abaca"}, {"aa", "aab"}},
        {"x*", {"x*y", "x**"}, {"y*"}},  // a "*" stays a wildcard against a "*" in the name
        {"Ä*", {"äx", "ÄX"}, {"ax"}},
        {"*.ДОК", {"файл.док"}, {}},
        {"Σ?", {"σα"}, {}},
        {"Ａ*", {"ａｂ"}, {}},
        {"*.bak", {"文件.BAK"}, {"a.bak1"}},
        // Every other character is literal, "[" and blanks included.
        {"[ab].tmp", {"[AB].TMP"}, {"a.tmp"}},
        {"Backup of*.*", {"backup of x.bak"}, {"Backupof x.bak"}},
        {"mscreate.dir", {"MSCREATE.DIR"}, {"xmscreate.dir"}},
        // A final ".*" also takes a name without a dot.
        {"*.*", {"abc", ".profile"}, {}},
        {"~*.*", {"~foo", "~a.b"}, {"foo"}},
        {"chklist.*", {"chklist", "CHKLIST.MS"}, {"chklistx"}},
        {"a.*", {"a", "a."}, {"ab"}},
        // Names that are not UTF-8 match by their bytes, one character per bad byte.
        {"*.tmp", {"\xff\xfe.TMP"}, {}},
        {"?.tmp", {"\xc3.tmp"}, {"\xc3\xc3.tmp"}},
        {"\xff*", {"\xff\xfe"}, {"\xfe"}},
    };
    for (const auto& [pattern, matching, other] : cases) {
        const PatternSet set({pattern});
        for (const bool match : {true, false}) {
            for (const char* name : match ? matching : other) {
                EXPECT_EQ(set.matches(0, name), match) << pattern << " / " << name;
            }
        }
    }
}

// Every pattern a name matches, in list order, whatever character each pattern ends in.
TEST(PatternSetTest, MatchAllGivesEveryMatchingPatternInListOrder) {
    const PatternSet set({"*.tmp", "~*.*", "*.??$", "*.$$$", "*.TM?", "a*"});
    for (const auto& [name, expected] :
         std::vector<std::pair<std::string, std::vector<std::size_t>>>{
             {"~x.TMP", {0, 1, 4}}, {"a.$$$", {2, 3, 5}}, {"notes.txt", {}}}) {
        std::vector<std::size_t> hits;
        set.matchAll(name, hits);
        EXPECT_EQ(hits, expected) << name;
    }
}

}  // namespace
}  // namespace scourix
