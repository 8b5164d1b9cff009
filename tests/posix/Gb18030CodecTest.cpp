// The text file codec: GB18030 on disk, UTF-8 in memory, code page 936's bytes kept exactly
// and no character ever turned into another one or into a wildcard.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdint>
#include <optional>
#include <set>
#include <tuple>

#include "TempFolder.h"
#include "platform/posix/Gb18030Codec.h"

namespace scourix {
namespace {

using Codec = Gb18030Codec;
const std::string kFffd = "\xEF\xBF\xBD";

// The character c in charset by the C library's own converter, the reference; nothing when
// it fails or, as it does for tag characters, writes nothing.
std::optional<std::string> reference(const char* charset, std::uint32_t code) {
    wchar_t c = static_cast<wchar_t>(code);
    iconv_t cd = iconv_open(charset, "WCHAR_T");
    char out[16];
    char *in = reinterpret_cast<char*>(&c), *to = out;
    std::size_t inLeft = sizeof c, outLeft = sizeof out;
    const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return ok && to != out ? std::optional(std::string(out, to)) : std::nullopt;
}

// Every BMP character and a sample of the others: code page 936's bytes where it has the
// character (the euro's 0x80 too), else the C library's GB18030, and always back to the
// same character.
TEST(Gb18030Codec, AgreesWithTheCLibraryRoundTripsEveryCharacterAndShowsWhatIsNoCharacter) {
    // These six keep their four-byte codes, as the C library gives them the two-byte codes
    // of private-use characters.
    const std::set<std::uint32_t> differs = {0x20087, 0x20089, 0x200CC, 0x215D7, 0x2298F, 0x241FE};
    std::vector<std::uint32_t> sample(differs.begin(), differs.end());
    sample.push_back(0x10FFFF);
    for (std::uint32_t c = 0; c <= 0x10FFFF; c += c < 0x10000 ? 1 : 37) {
        if (c < 0xD800 || c > 0xDFFF) {
            sample.push_back(c);
        }
    }
    int withoutReference = 0;
    for (const std::uint32_t c : sample) {
        const std::string text = reference("UTF-8", c).value(), bytes = Codec::encode(text);
        ASSERT_EQ(Codec::decode(bytes), text) << std::hex << c;
        if (const auto cp936 = reference("CP936", c)) {
            ASSERT_EQ(bytes, *cp936) << std::hex << c;
        } else if (const auto gb18030 = reference("GB18030", c)) {
            ASSERT_EQ(bytes == *gb18030, differs.count(c) == 0) << std::hex << c;
        } else {
            ++withoutReference;  // private-use characters the C library cannot write
        }
    }
    EXPECT_EQ(withoutReference, 24);
    // The shipped help file, in code page 936, reads whole and is written back byte for byte.
    const std::string gbk = test::contentOf(SCOURIX_RESOURCES "/TypeRead.ini");
    const std::string help = Codec::decode(gbk);
    EXPECT_TRUE(help.find("文件类型的详细说明") != std::string::npos &&
                help.find(kFffd) == std::string::npos);
    EXPECT_EQ(Codec::encode(help), gbk);
    // Bytes beginning no character read as one replacement each (among them a code past
    // U+FFFF, one past U+10FFFF, and bytes each out of its range). Surrogates, overlong forms,
    // values past U+10FFFF and cut-off sequences are no characters: written as visible escapes.
    enum Way { kBoth, kRead, kWrite };
    const std::tuple<std::string, std::string, Way> cases[] = {
        {"\x84\x31\x82\x38", "\xEE\x9E\x8E", kBoth},      // U+E78E: the slot its old code's new
        {"\xFE\x51", "\xEE\xA0\x96", kBoth},              // character left; U+E816 keeps its code,
        {"\x95\x32\x90\x31", "\xF0\xA0\x82\x87", kBoth},  // its Extension B twin U+20087 its own
        {"\xA2\xE3", "€", kRead},
        {"0\xFF\xFE", "0" + kFffd + kFffd, kRead},
        {"a\xD6", "a" + kFffd, kRead},
        {"\x81\r\nx", kFffd + "\r\nx", kRead},
        {"\xFF\xFF\xD6\xD0", kFffd + kFffd + "中", kRead},
        {"\x84\x31\xA5\x30", kFffd + "1" + kFffd + "0", kRead},
        {"\xE3\x32\x9A\x36", kFffd + "2" + kFffd + "6", kRead},
        {"\x82\x30\x80\x30", kFffd + "0€0", kRead},
        {"\x81\x30\xFF\x30", kFffd + "0" + kFffd + "0", kRead},
        {"\x81\x30\x81\x3A", kFffd + "0" + kFffd + ":", kRead},
        {"x\\xFF\\xFEy", "x\xFF\xFEy", kWrite},
        {"\xD6\xD0\\xFF", "\xE4\xB8\xAD\xFF", kWrite},
        {"end\\xE4\\xB8", "end\xE4\xB8", kWrite},
        {"\\xED\\xA0\\x80\\xED\\xBF\\xBF", "\xED\xA0\x80\xED\xBF\xBF", kWrite},
        {"\\xC0\\xAF\\xF4\\x90\\x80\\x80", "\xC0\xAF\xF4\x90\x80\x80", kWrite},
        {"\\xF8\\x90\\x80\\x80", "\xF8\x90\x80\x80", kWrite}};
    for (const auto& [bytes, text, way] : cases) {
        if (way != kWrite) {
            EXPECT_EQ(Codec::decode(bytes), text) << bytes;
        }
        if (way != kRead) {
            EXPECT_EQ(Codec::encode(text), bytes) << text;
        }
    }
}

}  // namespace
}  // namespace scourix
