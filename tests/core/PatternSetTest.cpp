#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scan/NameOrder.h"
#include "scan/PatternSet.h"
#include "types/BuiltInTypes.h"

namespace scourix {
namespace {

struct Case {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(PatternSetTest, WildcardsCaseAndLiterals) {
    const std::vector<Case> cases = {
        // "*" any run, "?" exactly one character.
        {"*", "", true},
        {"*", "abc", true},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"a?", "a", false},
        {"?", "中", true},
        {"??", "中", false},
        {"*ab", "aab", true},
        {"a*a*a", "aaa", true},
        {"a*a*a", "aa", false},
        {"*a*b", "ba", false},
        // Case folding, ASCII and beyond.
        {"*.TMP", "x.tmp", true},
        {"*.tmp", "X.TMP", true},
        {"Ä*", "äx", true},
        {"ä*", "ÄX", true},
        {"*.ДОК", "файл.док", true},
        {"Σ?", "σα", true},
        {"Ａ*", "ａｂ", true},
        {"*.bak", "文件.BAK", true},
        {"é*", "e", false},
        // Every other character is literal, "[" and blanks included.
        {"[ab].tmp", "a.tmp", false},
        {"[ab].tmp", "[AB].TMP", true},
        {"Backup of*.*", "backup of x.bak", true},
        {"Backup of*.*", "Backupof x.bak", false},
        {"mscreate.dir", "MSCREATE.DIR", true},
        {"mscreate.dir", "xmscreate.dir", false},
        // A final ".*" also takes a name without a dot.
        {"*.*", "abc", true},
        {"*.*", ".profile", true},
        {"~*.*", "~foo", true},
        {"~*.*", "foo", false},
        {"chklist.*", "chklist", true},
        {"chklist.*", "CHKLIST.MS", true},
        {"chklist.*", "chklistx", false},
        {"a.*", "ab", false},
        {"a.*", "a.", true},
        // Names that are not UTF-8 match by their bytes, one character per bad byte.
        {"*.tmp", "\xff\xfe.TMP", true},
        {"?.tmp", "\xc3.tmp", true},
        {"??.tmp", "\xc3.tmp", false},
        {"\xff*", "\xff\xfe", true},
    };
    for (const Case& c : cases) {
        PatternSet set({c.pattern});
        EXPECT_EQ(set.matches(0, c.name), c.matches) << c.pattern << " / " << c.name;
    }
}

TEST(PatternSetTest, BuiltInPatternsOnTypicalJunk) {
    std::vector<std::string> texts;
    for (std::string_view p : builtInTypes()) {
        texts.emplace_back(p);
    }
    const PatternSet set(texts);
    const auto matching = [&](const std::string& name) {
        std::vector<std::size_t> hits;
        set.matchAll(name, hits);
        std::vector<std::string> out;
        for (std::size_t i : hits) {
            out.push_back(texts[i]);
        }
        return out;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(matching("~WRL0001.tmp"), (V{"*.tmp", "~*.*"}));
    EXPECT_EQ(matching("~$Report.docx"), (V{"~*.*"}));
    EXPECT_EQ(matching("Backup of thesis.wbk"), (V{"*.wbk", "Backup of*.*"}));
    EXPECT_EQ(matching("Previous Backup of x.wbk"), (V{"*.wbk", "Previous Backup of*.*"}));
    EXPECT_EQ(matching("MSCREATE.DIR"), (V{"*.dir", "mscreate.dir"}));
    EXPECT_EQ(matching("CHKLIST"), (V{"chklist.*"}));
    EXPECT_EQ(matching("FILE0001.CHK"), (V{"*.chk"}));
    EXPECT_EQ(matching("help.#RES"), (V{"*.#Res"}));
    EXPECT_EQ(matching("setup.ex$"), (V{"*.??$"}));
    EXPECT_EQ(matching("draft.do~"), (V{"*.??~"}));
    EXPECT_EQ(matching("draft.~1"), (V{"*.~*"}));
    EXPECT_EQ(matching("a.$$$"), (V{"*.$$$", "*.??$"}));
    EXPECT_EQ(matching("logo.cdr_"), (V{"*.cdr_"}));
    EXPECT_EQ(matching("a.---"), (V{"*.---"}));
    for (const char* clean : {"notes.txt", "tmp", "mytmp", "bak.", "a.bak1", "a.d~"}) {
        EXPECT_EQ(matching(clean), V{}) << clean;
    }
}

TEST(NameOrderTest, CaseInsensitiveWithBytesAsTieBreak) {
    std::vector<std::string> names = {"b", "\xff", "ä", "Ab", "中", "a", "aa", "B", "Ä", "A"};
    std::sort(names.begin(), names.end(),
              [](const std::string& x, const std::string& y) { return nameLess(x, y); });
    EXPECT_EQ(names,
              (std::vector<std::string>{"A", "a", "aa", "Ab", "B", "b", "Ä", "ä", "中", "\xff"}));
}

}  // namespace
}  // namespace scourix
