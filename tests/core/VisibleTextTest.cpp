#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "platform/VisibleText.h"

namespace scourix {
namespace {

std::string utf8(char32_t cp) {
    std::string out;
    visible::appendUtf8(out, cp);
    return out;
}

// Each code point's General Category from the Unicode Character Database, "Cn" where the
// file lists none; a "<..., First>" line and its "<..., Last>" line give a whole range.
std::vector<std::string> categories(const char* path) {
    std::vector<std::string> of(0x110000, "Cn");
    std::ifstream in(path);
    std::string line;
    char32_t first = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> field;
        std::istringstream parts(line);
        for (std::string f; std::getline(parts, f, ';');) {
            field.push_back(f);
        }
        const auto cp = static_cast<char32_t>(std::stoul(field.at(0), nullptr, 16));
        const bool last = field.at(1).ends_with(", Last>");
        for (char32_t c = last ? first : cp; c <= cp; ++c) {
            of[c] = field.at(2);
        }
        first = cp;
    }
    return of;
}

TEST(VisibleTextTest, EscapesExactlyTheControlsSeparatorsAndFormatCharactersOfUnicode) {
    const std::vector<std::string> category = categories("/usr/share/unicode/UnicodeData.txt");
    ASSERT_EQ(category[0x202E], "Cf") << "UnicodeData.txt missing: scripts/deps.sh installs it";
    for (unsigned cp = 0; cp < 0x110000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;  // no character: as UTF-8, stray bytes
        }
        const std::string bytes = utf8(cp);
        const std::string& c = category[cp];
        const bool wanted = c == "Cc" || c == "Cf" || c == "Zl" || c == "Zp" || cp == '\\';
        ASSERT_EQ(needsEscapes(bytes), wanted) << std::hex << cp << " " << c;
        const std::string shown = visibleText(bytes);
        if (wanted && cp > 0x7F) {
            char hex[16];
            std::snprintf(hex, sizeof hex, cp > 0xFFFF ? "\\U%08X" : "\\u%04X", cp);
            ASSERT_EQ(shown, hex);
        }
        ASSERT_EQ(decodeVisible(shown), bytes) << std::hex << cp;
        ASSERT_EQ(decodeTyped(shown), bytes) << std::hex << cp;
    }
}

TEST(VisibleTextTest, EveryNameShowsAsOneLineThatLeadsBackToItAlone) {
    const std::pair<std::string, std::string> names[] = {
        {"a\\xE9b", "a\\\\xE9b"},  // spelled out, unlike the byte below
        {"a\xE9"
         "b",
         "a\\xE9b"},
        {"gpj\u202E.exe", "gpj\\u202E.exe"},
        {"a\u200Bb\uFEFF", "a\\u200Bb\\uFEFF"},
        {"x\U000E0041\u2028\u2029", "x\\U000E0041\\u2028\\u2029"},
        {"\x01\t\n\r\x1F\x7F\u0085", "\\x01\\t\\n\\r\\x1F\\x7F\\u0085"},
        {"\xC3\xA9\xC3\xED\xA0\x80\xF4\x90\x80\x80",
         "\xC3\xA9\\xC3\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80"},
        {"报告 ½.tmp", "报告 ½.tmp"},
    };
    for (const auto& [bytes, shown] : names) {
        EXPECT_EQ(visibleText(bytes), shown);
        EXPECT_EQ(decodeVisible(shown), bytes) << shown;
    }
    // Names of the pieces escapes are made of, in random order: each shown form is one
    // line of visible characters and decodes to its own name, so no two names look alike.
    const std::string pieces[] = {"\\",     "x",    "u",        "U",         "E9", "0",
                                  "202E",   "\xE9", "\xE2\x80", "\xAE",      "\n", "n",
                                  "\u202E", "\xC3", "\xA9",     "\U000E0001"};
    std::mt19937 random(21);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (std::size_t n = random() % 8; n > 0; --n) {
            bytes += pieces[random() % std::size(pieces)];
        }
        const std::string shown = visibleText(bytes);
        ASSERT_EQ(decodeVisible(shown), bytes) << shown;
        for (std::size_t i = 0; i < shown.size();) {
            const std::size_t n = visible::sequenceAt(shown, i);
            ASSERT_TRUE(n > 0) << shown;
            const char32_t c = visible::codePointAt(shown, i, n);
            ASSERT_TRUE(c == '\\' || !visible::isEscaped(c)) << shown;
            i += n;
        }
    }
}

TEST(VisibleTextTest, OnlyTheShownFormDecodesStrictlyATypedOneTakesItsBackslashesAsTheyCome) {
    // Not what any name shows as: no name, and a typed answer keeps the text as it is.
    for (const std::string text :
         {"a\\b", "\\", "x\\", "\\xe9", "\\x41", "\\x0A", "\\xE", "\\u00e9", "\\u0041", "\\u20AC",
          "\\U0000202E", "\\U000E00", "\\U0010FFFF", "\\u202", "\\N"}) {
        EXPECT_EQ(decodeVisible(text), std::nullopt) << text;
        EXPECT_EQ(decodeTyped(text), text);
    }
    // Escapes of characters that are not shown as escapes, or not alone.
    for (const std::string text : {"\\xC3\\xA9", "a\nb", "\u202E", "\xE9", "\t"}) {
        EXPECT_EQ(decodeVisible(text), std::nullopt) << text;
    }
    EXPECT_EQ(decodeTyped("\\xC3\\xA9\\\\x41\\q\\u202E\\U000E0041\\"),
              "\xC3\xA9\\x41\\q\u202E\U000E0041\\");
}

}  // namespace
}  // namespace scourix
