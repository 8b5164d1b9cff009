#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "platform/VisibleText.h"

namespace scourix {
namespace {

// Every code point against the Unicode Character Database: shown as an escape exactly when
// it is a control (Cc), a format character (Cf), a line or paragraph separator, or the
// backslash, and read back to itself.
TEST(VisibleTextTest, EscapesExactlyTheCharactersUnicodeCallsControlsFormatsOrSeparators) {
    std::ifstream in("/usr/share/unicode/UnicodeData.txt");
    ASSERT_TRUE(in) << "UnicodeData.txt is missing: scripts/deps.sh installs unicode-data";
    std::vector<bool> wanted(0x110000, false);
    wanted['\\'] = true;
    unsigned from = 0;  // a "<..., First>" line and its "<..., Last>" line give a range
    for (std::string line, code, name, category; std::getline(in, line);) {
        std::istringstream fields(line);
        std::getline(std::getline(std::getline(fields, code, ';'), name, ';'), category, ';');
        const auto cp = static_cast<unsigned>(std::stoul(code, nullptr, 16));
        for (unsigned c = name.ends_with("Last>") ? from : cp; c <= cp; ++c) {
            wanted[c] = wanted[c] || category == "Cc" || category == "Cf" || category == "Zl" ||
                        category == "Zp";
        }
        from = name.ends_with("First>") ? cp : 0;
    }
    for (unsigned cp = 0; cp < wanted.size(); ++cp) {
        std::string bytes;
        visible::appendUtf8(bytes, cp);
        if (cp < 0xD800 || cp > 0xDFFF) {  // surrogates are no characters
            ASSERT_EQ(visibleText(bytes) != bytes, wanted[cp]) << std::hex << cp;
            ASSERT_EQ(decodeVisible(visibleText(bytes)), bytes) << std::hex << cp;
        }
    }
}

TEST(VisibleTextTest, EveryNameShowsAsOneLineThatLeadsBackToItAloneTypedTextsAsWritten) {
    for (const auto& [bytes, shown] : std::initializer_list<std::pair<std::string, std::string>>{
             {"a\\xE9b", "a\\\\xE9b"},  // spelled out, unlike the byte
             {"a\xE9z\n\r\t\x01\x7F\u0080", "a\\xE9z\\n\\r\\t\\x01\\x7F\\u0080"},
             {"gpj\u202E.exe\u200B\uFEFF\u2028\U000E0041",
              "gpj\\u202E.exe\\u200B\\uFEFF\\u2028\\U000E0041"},
             {"\xC3\xA9\xC3\xED\xA0\x80 报告", "\xC3\xA9\\xC3\\xED\\xA0\\x80 报告"}}) {
        EXPECT_EQ(visibleText(bytes), shown);
        EXPECT_EQ(decodeVisible(shown), bytes) << shown;
    }
    // Names made of the pieces escapes are made of: each shows as visible characters and
    // backslashes only, and leads back to itself.
    const std::string pieces[] = {"\\",           "x",    "u",        "U",    "E9", "202E",
                                  "000E0041",     "\xE9", "\xE2\x80", "\xAE", "\n", "n",
                                  "\xF3\xA0\x81", "\xC3", "\xA9"};
    std::mt19937 random(21);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes, doubled;
        for (std::size_t n = random() % 8; n > 0; --n) {
            bytes += pieces[random() % std::size(pieces)];
        }
        const std::string shown = visibleText(bytes);
        for (char c : shown) {
            doubled += c == '\\' ? "\\\\" : std::string(1, c);
        }
        ASSERT_EQ(visibleText(shown), doubled);
        ASSERT_EQ(decodeVisible(shown), bytes) << shown;
    }
    // Not what any name shows as; typed, a backslash that begins no escape stands for itself.
    for (const std::string text : {"a\\b", "x\\", "\\xe9", "\\x41", "\\x0A", "\\xE", "\\u0041",
                                   "\\u20AC", "\\U0000202E", "\\U0010FFFF", "\\u202"}) {
        EXPECT_EQ(decodeVisible(text), std::nullopt) << text;
        EXPECT_EQ(decodeTyped(text), text);
    }
    for (const std::string text : {"\\xC3\\xA9", "a\nb", "\u202E", "\xE9"}) {
        EXPECT_EQ(decodeVisible(text), std::nullopt) << text;
    }
    EXPECT_EQ(decodeTyped("\\xC3\\xA9\\\\x41\\q\\u202E"), "\xC3\xA9\\x41\\q\u202E");
}

}  // namespace
}  // namespace scourix
