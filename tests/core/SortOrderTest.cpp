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

bool before(const std::string& a, const std::string& b) {
    return SortOrder::less(a, b) && !SortOrder::less(b, a);
}

TEST(SortOrder, BuiltInListIsInItsOwnOrderFromAnyShuffle) {
    const std::vector<std::string> expected(builtInTypes().begin(), builtInTypes().end());
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

TEST(SortOrder, CaseHyphensAndClassesOfCharacters) {
    // Capitals sort with their small letters (Latin, Greek, Cyrillic); hyphens and
    // apostrophes are passed over; punctuation, then digits, then letters, then the rest,
    // with a byte that is not UTF-8 last; full-width forms sort with what they stand for.
    const std::pair<const char*, const char*> ordered[] = {
        {"abc", "ABD"},     {"ABC", "abd"},     {"Éa", "éb"},    {"éa", "Éb"},
        {"Ła", "łb"},       {"ła", "Łb"},       {"Σa", "σb"},    {"ςa", "Σb"},
        {"Яa", "яb"},       {"яa", "Яb"},       {"Ёa", "ёb"},    {"coo", "co-op"},
        {"co-op", "cop"},   {"its", "it'sa"},   {"it's", "itt"}, {"*.---", "*.#Res"},
        {"*.bk_", "*.bk1"}, {"*.ab9", "*.aba"}, {"9", "a"},      {"~*.*", "Backup of*.*"},
        {"z", "é"},         {"я", "中"},        {"zzz", "临时"}, {"临时", "\xff"},
        {"", "-a"},         {"ａ", "b"},        {"１", "2"}};
    for (const auto& [a, b] : ordered) {
        EXPECT_TRUE(before(a, b)) << a << " < " << b;
    }
    for (const char* punct : {" ", "!", "#", "$", "&", "*", ".", "?", "@", "_", "~", "，"}) {
        EXPECT_TRUE(before(punct, "0")) << punct;
    }
}

}  // namespace
}  // namespace scourix
