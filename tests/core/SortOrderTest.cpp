#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "fakes/FakeCheckList.h"
#include "types/BuiltInTypes.h"
#include "types/SortOrder.h"

namespace scourix {
namespace {

std::vector<std::string> builtIns() {
    std::vector<std::string> out;
    for (std::string_view s : builtInTypes()) {
        out.emplace_back(s);
    }
    return out;
}

bool before(const std::string& a, const std::string& b) {
    return SortOrder::less(a, b) && !SortOrder::less(b, a);
}

TEST(SortOrder, BuiltInListIsInItsOwnOrderFromAnyShuffle) {
    const std::vector<std::string> expected = builtIns();
    ASSERT_EQ(expected.size(), 43u);
    std::mt19937 rng(1551);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> shuffled = expected;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        std::vector<std::string> sorted = shuffled;
        std::sort(sorted.begin(), sorted.end(), SortOrder::less);
        ASSERT_EQ(sorted, expected) << "round " << round;

        // One by one into a list, as the user would add them.
        FakeCheckList list;
        for (const std::string& s : shuffled) {
            SortOrder::insertSorted(list, s);
        }
        ASSERT_EQ(list.texts(), expected) << "round " << round;
    }
}

TEST(SortOrder, IgnoresCaseOfLatinGreekAndCyrillicLetters) {
    EXPECT_TRUE(before("abc", "ABD"));
    EXPECT_TRUE(before("ABC", "abd"));
    EXPECT_TRUE(before("Backup of*.*", "chklist.*"));
    EXPECT_TRUE(before("mscreate.dir", "Previous Backup of*.*"));
    // Latin-1, Latin Extended, Greek and Cyrillic capitals sort with their small letters.
    EXPECT_TRUE(before("Éa", "éb"));
    EXPECT_TRUE(before("éa", "Éb"));
    EXPECT_TRUE(before("Ła", "łb"));
    EXPECT_TRUE(before("ła", "Łb"));
    EXPECT_TRUE(before("Σa", "σb"));
    EXPECT_TRUE(before("ςa", "Σb"));
    EXPECT_TRUE(before("Яa", "яb"));
    EXPECT_TRUE(before("яa", "Яb"));
    EXPECT_TRUE(before("Ёa", "ёb"));
    // Texts that differ only in case are still distinct and keep one order.
    EXPECT_NE(SortOrder::compare("TMP", "tmp"), 0);
    EXPECT_EQ(SortOrder::compare("TMP", "tmp"), -SortOrder::compare("tmp", "TMP"));
}

TEST(SortOrder, PassesOverHyphensAndApostrophesUnlessTheyAloneDiffer) {
    EXPECT_TRUE(before("coo", "co-op"));
    EXPECT_TRUE(before("co-op", "cop"));
    EXPECT_TRUE(before("its", "it'sa"));
    EXPECT_TRUE(before("it's", "itt"));
    EXPECT_TRUE(before("*.---", "*.#Res"));
    EXPECT_NE(SortOrder::compare("co-op", "coop"), 0);
    EXPECT_NE(SortOrder::compare("-", ""), 0);
    EXPECT_NE(SortOrder::compare("--", "-"), 0);
}

TEST(SortOrder, PunctuationThenDigitsThenLettersThenEverythingElse) {
    for (const char* punct : {" ", "!", "#", "$", "&", "*", ".", "?", "@", "_", "~", "，"}) {
        EXPECT_TRUE(before(punct, "0")) << punct;
    }
    EXPECT_TRUE(before("*.bk_", "*.bk1"));
    EXPECT_TRUE(before("*.ab9", "*.aba"));
    EXPECT_TRUE(before("9", "a"));
    EXPECT_TRUE(before("~*.*", "Backup of*.*"));
    EXPECT_TRUE(before("z", "é"));  // letters with case sort among the letters
    EXPECT_TRUE(before("я", "中"));
    EXPECT_TRUE(before("zzz", "临时"));
    EXPECT_TRUE(before("临时", "\xff"));  // a byte that is not UTF-8 sorts last
    EXPECT_TRUE(before("", "-a"));
    // Full-width forms sort with what they stand for.
    EXPECT_TRUE(before("ａ", "b"));
    EXPECT_TRUE(before("１", "2"));
}

TEST(SortOrder, IsAStrictTotalOrderOnMixedTexts) {
    const std::vector<std::string> sample = {
        "",     "-",     "'",     "--",     "a",    "A",    "-a", "a-", "'a", "b",
        "B",    "ab",    "a-b",   "a'b",    "AB",   "aB",   "0",  "09", "9",  "!",
        " ",    "*.tmp", "*.TMP", "*.t-mp", "~*.*", "é",    "É",  "e",  "E",  "Σ",
        "σ",    "ς",     "Я",     "я",      "中",   "临时", "ａ", "Ａ", "１", "\xff",
        "\xc3", "\xc3(", "a\xff", "ǅ",      "ǆ",    "Ǆ",    "İ",  "ı",  "i",  "ß"};
    for (const std::string& a : sample) {
        EXPECT_FALSE(SortOrder::less(a, a)) << a;
        for (const std::string& b : sample) {
            const int ab = SortOrder::compare(a, b);
            EXPECT_EQ(ab, -SortOrder::compare(b, a)) << a << " / " << b;
            EXPECT_EQ(ab == 0, a == b) << a << " / " << b;
            if (ab >= 0) {
                continue;
            }
            for (const std::string& c : sample) {
                if (SortOrder::less(b, c)) {
                    EXPECT_TRUE(SortOrder::less(a, c)) << a << " < " << b << " < " << c;
                }
            }
        }
    }
}

TEST(SortOrder, InsertsAfterEqualTextsAndAtTheEnds) {
    FakeCheckList list({"*.bak", "*.tmp", "*.tmp", "~*.*"});
    list.setChecked(1, true);
    list.setChecked(2, true);
    EXPECT_EQ(SortOrder::insertSorted(list, "*.tmp"), 3u);
    EXPECT_FALSE(list.checked(3));
    EXPECT_TRUE(list.checked(2));
    EXPECT_EQ(SortOrder::insertSorted(list, "*.---"), 0u);
    EXPECT_EQ(SortOrder::insertSorted(list, "zzz"), 6u);
    EXPECT_EQ(SortOrder::insertSorted(list, "*.TMP"), 5u);  // after the small letters

    FakeCheckList empty;
    EXPECT_EQ(SortOrder::insertSorted(empty, ""), 0u);
    EXPECT_EQ(SortOrder::insertSorted(empty, ""), 1u);
}

}  // namespace
}  // namespace scourix
