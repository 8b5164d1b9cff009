// The order of texts in the lists and the matching of names against patterns.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "base/Utf8.h"
#include "fakes/FakeCheckList.h"
#include "scan/PatternSet.h"
#include "types/BuiltInTypes.h"
#include "types/SortOrder.h"

namespace scourix {
namespace {

TEST(SortOrder, BuiltInListIsInItsOwnOrderFromAnyShuffle) {
    const std::vector<std::string> expected(builtInTypes().begin(), builtInTypes().end());
    std::mt19937 rng(1551);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> shuffled = expected;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        std::vector<std::string> sorted = shuffled;
        std::sort(sorted.begin(), sorted.end(), SortOrder::less);
        FakeCheckList list;  // one by one, as the user would add them
        for (const std::string& s : shuffled) {
            SortOrder::insertSorted(list, s);
        }
        ASSERT_EQ(sorted, expected) << "round " << round;
        ASSERT_EQ(list.texts(), expected) << "round " << round;
    }
}

// Case decides only between texts otherwise equal, small letters first; hyphens and
// apostrophes are passed over; punctuation, then digits, then letters, then the rest, with
// a byte that is not UTF-8 last; full-width forms sort with what they stand for.
TEST(SortOrder, CaseHyphensAndClassesOfCharacters) {
    const std::pair<const char*, const char*> ordered[] = {
        {"abc", "ABD"},  {"ABC", "abd"},           {"a", "A"},         {"ςa", "Σb"},
        {"Яa", "яb"},    {"coo", "co-op"},         {"co-op", "cop"},   {"its", "it'sa"},
        {"it's", "itt"}, {"*.---", "*.#Res"},      {"*.bk_", "*.bk1"}, {"*.ab9", "*.aba"},
        {"9", "a"},      {"~*.*", "Backup of*.*"}, {"z", "é"},         {"я", "中"},
        {"zzz", "临时"}, {"临时", "\xff"},         {"", "-a"},         {"ａ", "b"},
        {"１", "2"}};
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(SortOrder::less(a, b) && !SortOrder::less(b, a)) << a << " < " << b;
    }
    for (const char* punct : {" ", "!", "#", "$", "&", "*", ".", "?", "@", "_", "~", "，"}) {
        EXPECT_TRUE(SortOrder::less(punct, "0") && !SortOrder::less("0", punct)) << punct;
    }
}

// The folding the order uses, against Unicode's simple lower-case mappings. Runs of
// {first capital, how many, step, offset to its small letter (0: a letter without case)}.
TEST(SortOrder, LettersFoldAsUnicodeMapsThem) {
    const auto fold = [](char32_t cp) {
        char32_t lower = 0;
        bool upper = false;
        return std::tuple(utf8::foldLetter(cp, lower, upper), lower, upper);
    };
    const int runs[][4] = {
        {'A', 26, 1, 32},     {0xC0, 23, 1, 32},   {0xD8, 7, 1, 32},     {0x139, 8, 2, 1},
        {0x130, 1, 1, -199},  {0x178, 1, 1, -121}, {0x1C4, 3, 3, 2},     {0x1C5, 3, 3, 1},
        {0x1F1, 1, 1, 2},     {0x1F2, 1, 1, 1},    {0x1CD, 8, 2, 1},     {0x1DE, 9, 2, 1},
        {0x1F4, 1, 1, 1},     {0x1F8, 20, 2, 1},   {0x222, 9, 2, 1},     {0x246, 5, 2, 1},
        {0x386, 1, 1, 0x26},  {0x388, 3, 1, 0x25}, {0x38C, 1, 1, 0x40},  {0x38E, 2, 1, 0x3F},
        {0x391, 17, 1, 0x20}, {0x3A3, 9, 1, 0x20}, {0x400, 16, 1, 0x50}, {0x410, 32, 1, 0x20},
        {0x4C0, 1, 1, 0xF},   {0xAA, 1, 1, 0},     {0xB5, 1, 1, 0},      {0xDF, 1, 1, 0},
        {0x180, 1, 1, 0},     {0x1DD, 1, 1, 0},    {0x1F0, 1, 1, 0}};
    for (const auto& [first, count, step, offset] : runs) {
        for (int k = 0; k < count; ++k) {
            const unsigned cap = first + k * step;
            const unsigned small = cap + offset;
            EXPECT_EQ(fold(cap), std::tuple(true, small, offset != 0)) << std::hex << cap;
            EXPECT_EQ(fold(small), std::tuple(true, small, false)) << std::hex << small;
        }
    }
    // Chosen for the order: a final sigma is a sigma, a long s an s.
    EXPECT_EQ(fold(0x3C2), std::tuple(true, char32_t{0x3C3}, false));
    EXPECT_EQ(fold(0x17F), std::tuple(true, char32_t{'s'}, false));
    // Signs, Greek punctuation and accents standing alone, Cyrillic marks.
    for (unsigned cp : {0xD7, 0xF7, 0x374, 0x375, 0x37E, 0x384, 0x385, 0x387, 0x482, 0x489}) {
        EXPECT_FALSE(std::get<0>(fold(cp))) << std::hex << cp;
    }
}

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
