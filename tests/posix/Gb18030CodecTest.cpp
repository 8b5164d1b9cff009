// The text file codec: GB18030 on disk, UTF-8 in memory, with code page 936's bytes kept
// exactly and no character ever turned into another one or into a wildcard.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "TempFolder.h"
#include "platform/posix/Gb18030Codec.h"

namespace scourix {
namespace {

using Codec = Gb18030Codec;
const std::string kFffd = "\xEF\xBF\xBD";

std::string utf8(char32_t c) {
    if (c < 0x800) {
        return {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    }
    if (c < 0x10000) {
        return {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    }
    return {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
            char(0x80 | (c & 0x3F))};
}

// The C library's own converter from UTF-8, as the reference; nothing when it fails or,
// as it does for tag characters, writes nothing.
std::optional<std::string> reference(const char* charset, std::string text) {
    iconv_t cd = iconv_open(charset, "UTF-8");
    char out[16];
    char *in = text.data(), *to = out;
    std::size_t inLeft = text.size(), outLeft = sizeof out;
    const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok && to != out ? std::optional(std::string(out, to)) : std::nullopt;
}

TEST(Gb18030Codec, RoundTripsEveryKindOfCode) {
    const std::pair<std::string, std::string> cases[] = {
        {"*\xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2",  // *ไทย, outside code page 936
         "*\x81\x32\xD5\x36\x81\x32\xD1\x31\x81\x32\xD2\x32"},
        {"*.\xF0\x9F\x98\x80", "*.\x94\x39\xFC\x36"},  // an emoji, beyond the BMP
        {"中文 *.tmp", "\xD6\xD0\xCE\xC4 *.tmp"},
        {"€", "\x80"},
        {kFffd, "\x84\x31\xA4\x37"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
        {utf8(0x80) + utf8(0xFFFF) + utf8(0x10FFFF),
         "\x81\x30\x81\x30\x84\x31\xA4\x39\xE3\x32\x9A\x35"},
        {utf8(0xE5E5), "\xA3\xA0"},           // private use, a two-byte code page 936 lacks
        {utf8(0xE7C7), "\x81\x35\xF4\x37"},   // off the four-byte runs
        {utf8(0xE78E), "\x84\x31\x82\x38"},   // the slot its old code's new character left
        {utf8(0xE816), "\xFE\x51"},           // keeps its two-byte code, and
        {utf8(0x20087), "\x95\x32\x90\x31"},  // its CJK Extension B twin its four-byte one
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(Codec::encode(text), bytes) << text;
        EXPECT_EQ(Codec::decode(bytes), text) << text;
    }
}

TEST(Gb18030Codec, ReadsEveryByteThatBeginsNoCharacterAsOneReplacement) {
    const std::pair<std::string, std::string> cases[] = {
        {"\xA2\xE3", "€"},
        {"0\xFF\xFE", "0" + kFffd + kFffd},
        {"a\xD6", "a" + kFffd},
        {"\x81\r\nx", kFffd + "\r\nx"},
        {"\xFF\xFF\xD6\xD0", kFffd + kFffd + "中"},
        {"\x84\x31\xA5\x30", kFffd + "1" + kFffd + "0"},  // past U+FFFF
        {"\xE3\x32\x9A\x36", kFffd + "2" + kFffd + "6"},  // past U+10FFFF
        {"\x82\x30\x80\x30", kFffd + "0€0"},              // each byte out of its range
        {"\x81\x30\xFF\x30", kFffd + "0" + kFffd + "0"},
        {"\x81\x30\x81\x3A", kFffd + "0" + kFffd + ":"},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(Codec::decode(bytes), text) << bytes;
    }
    // Saved, a replacement stays one: stable from the first save on.
    const std::string saved = Codec::encode(Codec::decode("0\xFF\xFE"));
    EXPECT_EQ(saved, "0\x84\x31\xA4\x37\x84\x31\xA4\x37");
    EXPECT_EQ(Codec::encode(Codec::decode(saved)), saved);
    EXPECT_EQ(Codec::encode(Codec::decode("\xA2\xE3")), "\x80");
}

TEST(Gb18030Codec, WritesBytesThatAreNotUtf8AsVisibleEscapes) {
    const std::pair<std::string, std::string> cases[] = {
        {"x\xFF\xFEy", "x\\xFF\\xFEy"},
        {"\xE4\xB8\xAD\xFF", "\xD6\xD0\\xFF"},                           // 中 then a stray byte
        {"end\xE4\xB8", "end\\xE4\\xB8"},                                // a cut-off sequence
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},                             // an encoded surrogate
        {"\xC0\xAF\xF4\x90\x80\x80", "\\xC0\\xAF\\xF4\\x90\\x80\\x80"},  // overlong, too large
        {"\xF8\x90\x80\x80", "\\xF8\\x90\\x80\\x80"},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(Codec::encode(text), bytes) << text;
    }
    // Surrogates are no characters, their neighbours are.
    EXPECT_EQ(Codec::utf8SequenceLength("\xED\x9F\xBF"), 3u);
    EXPECT_EQ(Codec::utf8SequenceLength("\xED\xA0\x80"), 0u);
    EXPECT_EQ(Codec::utf8SequenceLength("\xED\xBF\xBF"), 0u);
    EXPECT_EQ(Codec::utf8SequenceLength("\xEE\x80\x80"), 3u);
}

TEST(Gb18030Codec, KeepsACodePage936FileByteForByte) {
    const std::string gbk = test::contentOf(SCOURIX_RESOURCES "/TypeRead.ini");
    const std::string text = Codec::decode(gbk);
    EXPECT_EQ(text.find(kFffd), std::string::npos);
    EXPECT_NE(text.find("文件类型的详细说明"), std::string::npos);
    EXPECT_EQ(Codec::encode(text), gbk);
}

// Every BMP character and a sample of the others: code page 936's bytes where it has the
// character (the euro's 0x80 too), else the C library's GB18030, and always back to the
// same character.
TEST(Gb18030Codec, AgreesWithTheCLibrarysConvertersAndReadsBackEveryCharacter) {
    // These six keep their four-byte codes, as the C library gives them the two-byte codes
    // of private-use characters.
    const std::set<std::uint32_t> differs = {0x20087, 0x20089, 0x200CC, 0x215D7, 0x2298F, 0x241FE};
    std::vector<std::uint32_t> sample(differs.begin(), differs.end());
    for (std::uint32_t c = 0x80; c <= 0x10FFFF; c += c < 0x10000 ? 1 : 37) {
        if (c < 0xD800 || c > 0xDFFF) {
            sample.push_back(c);
        }
    }
    int withoutReference = 0;
    for (const std::uint32_t c : sample) {
        const std::string text = utf8(c), bytes = Codec::encode(text);
        ASSERT_EQ(Codec::decode(bytes), text) << std::hex << c;
        if (const auto cp936 = reference("CP936", text)) {
            ASSERT_EQ(bytes, *cp936) << std::hex << c;
        } else if (const auto gb18030 = reference("GB18030", text)) {
            ASSERT_EQ(bytes == *gb18030, differs.count(c) == 0) << std::hex << c;
        } else {
            ++withoutReference;  // private-use characters the C library cannot write
        }
    }
    EXPECT_EQ(withoutReference, 24);
}

}  // namespace
}  // namespace scourix
