#include "platform/posix/Gb18030Codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cwchar>
#include <iterator>

namespace scourix {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
constexpr char32_t kEuro = 0x20AC;                         // code page 936's single byte 0x80
constexpr std::uint32_t kBmpLinearEnd = 39420;             // 84 31 A4 39 is U+FFFF
constexpr std::uint32_t kSupplementaryLinear = 189000;     // 90 30 81 30 is U+10000

// GB18030's four-byte codes for the BMP, in runs: the character at a run's start and its
// linear index; the run goes on, one character per code, up to the next run's index. The
// characters between runs have one- or two-byte codes.
struct Run {
    char16_t character;
    std::uint16_t linear;
};
constexpr Run kRuns[] = {
    {0x0080, 0},     {0x00A5, 36},    {0x00A9, 38},    {0x00B2, 45},    {0x00B8, 50},
    {0x00D8, 81},    {0x00E2, 89},    {0x00EB, 95},    {0x00EE, 96},    {0x00F4, 100},
    {0x00F8, 103},   {0x00FB, 104},   {0x00FD, 105},   {0x0102, 109},   {0x0114, 126},
    {0x011C, 133},   {0x012C, 148},   {0x0145, 172},   {0x0149, 175},   {0x014E, 179},
    {0x016C, 208},   {0x01CF, 306},   {0x01D1, 307},   {0x01D3, 308},   {0x01D5, 309},
    {0x01D7, 310},   {0x01D9, 311},   {0x01DB, 312},   {0x01DD, 313},   {0x01FA, 341},
    {0x0252, 428},   {0x0262, 443},   {0x02C8, 544},   {0x02CC, 545},   {0x02DA, 558},
    {0x03A2, 741},   {0x03AA, 742},   {0x03C2, 749},   {0x03CA, 750},   {0x0402, 805},
    {0x0450, 819},   {0x0452, 820},   {0x2011, 7922},  {0x2017, 7924},  {0x201A, 7925},
    {0x201E, 7927},  {0x2027, 7934},  {0x2031, 7943},  {0x2034, 7944},  {0x2036, 7945},
    {0x203C, 7950},  {0x20AD, 8062},  {0x2104, 8148},  {0x2106, 8149},  {0x210A, 8152},
    {0x2117, 8164},  {0x2122, 8174},  {0x216C, 8236},  {0x217A, 8240},  {0x2194, 8262},
    {0x219A, 8264},  {0x2209, 8374},  {0x2210, 8380},  {0x2212, 8381},  {0x2216, 8384},
    {0x221B, 8388},  {0x2221, 8390},  {0x2224, 8392},  {0x2226, 8393},  {0x222C, 8394},
    {0x222F, 8396},  {0x2238, 8401},  {0x223E, 8406},  {0x2249, 8416},  {0x224D, 8419},
    {0x2253, 8424},  {0x2262, 8437},  {0x2268, 8439},  {0x2270, 8445},  {0x2296, 8482},
    {0x229A, 8485},  {0x22A6, 8496},  {0x22C0, 8521},  {0x2313, 8603},  {0x246A, 8936},
    {0x249C, 8946},  {0x254C, 9046},  {0x2574, 9050},  {0x2590, 9063},  {0x2596, 9066},
    {0x25A2, 9076},  {0x25B4, 9092},  {0x25BE, 9100},  {0x25C8, 9108},  {0x25CC, 9111},
    {0x25D0, 9113},  {0x25E6, 9131},  {0x2607, 9162},  {0x260A, 9164},  {0x2641, 9218},
    {0x2643, 9219},  {0x2E82, 11329}, {0x2E85, 11331}, {0x2E89, 11334}, {0x2E8D, 11336},
    {0x2E98, 11346}, {0x2EA8, 11361}, {0x2EAB, 11363}, {0x2EAF, 11366}, {0x2EB4, 11370},
    {0x2EB8, 11372}, {0x2EBC, 11375}, {0x2ECB, 11389}, {0x2FFC, 11682}, {0x3004, 11686},
    {0x3018, 11687}, {0x301F, 11692}, {0x302A, 11694}, {0x303F, 11714}, {0x3094, 11716},
    {0x309F, 11723}, {0x30F7, 11725}, {0x30FF, 11730}, {0x312A, 11736}, {0x322A, 11982},
    {0x3232, 11989}, {0x32A4, 12102}, {0x3390, 12336}, {0x339F, 12348}, {0x33A2, 12350},
    {0x33C5, 12384}, {0x33CF, 12393}, {0x33D3, 12395}, {0x33D6, 12397}, {0x3448, 12510},
    {0x3474, 12553}, {0x359F, 12851}, {0x360F, 12962}, {0x361B, 12973}, {0x3919, 13738},
    {0x396F, 13823}, {0x39D1, 13919}, {0x39E0, 13933}, {0x3A74, 14080}, {0x3B4F, 14298},
    {0x3C6F, 14585}, {0x3CE1, 14698}, {0x4057, 15583}, {0x4160, 15847}, {0x4338, 16318},
    {0x43AD, 16434}, {0x43B2, 16438}, {0x43DE, 16481}, {0x44D7, 16729}, {0x464D, 17102},
    {0x4662, 17122}, {0x4724, 17315}, {0x472A, 17320}, {0x477D, 17402}, {0x478E, 17418},
    {0x4948, 17859}, {0x497B, 17909}, {0x497E, 17911}, {0x4984, 17915}, {0x4987, 17916},
    {0x499C, 17936}, {0x49A0, 17939}, {0x49B8, 17961}, {0x4C78, 18664}, {0x4CA4, 18703},
    {0x4D1A, 18814}, {0x4DAF, 18962}, {0x9FA6, 19043}, {0xE76C, 33469}, {0xE7C8, 33470},
    {0xE7E7, 33471}, {0xE815, 33484}, {0xE819, 33485}, {0xE81F, 33490}, {0xE827, 33497},
    {0xE82D, 33501}, {0xE833, 33505}, {0xE83C, 33513}, {0xE844, 33520}, {0xE856, 33536},
    {0xE865, 33550}, {0xF92D, 37845}, {0xF97A, 37921}, {0xF996, 37948}, {0xF9E8, 38029},
    {0xF9F2, 38038}, {0xFA10, 38064}, {0xFA12, 38065}, {0xFA15, 38066}, {0xFA19, 38069},
    {0xFA22, 38075}, {0xFA25, 38076}, {0xFA2A, 38078}, {0xFE32, 39108}, {0xFE45, 39109},
    {0xFE53, 39113}, {0xFE58, 39114}, {0xFE67, 39115}, {0xFE6C, 39116}, {0xFF5F, 39265},
    {0xFFE6, 39394}};

// Characters whose codes lie off those runs. U+E7C7 took the slot of U+1E3F when that
// letter got a two-byte code. The others are private-use characters whose old two-byte
// codes the C library now reads as standard characters: 18 take the four-byte codes those
// characters left free; six keep their two-byte codes (FE 51...), which the C library reads
// as their twins in CJK Extension B, though those twins have four-byte codes of their own.
// Here each character has one code and reads back as itself.
struct Placed {
    char16_t character;
    std::uint32_t code;
};
constexpr Placed kPlaced[] = {
    {0xE7C7, 0x8135F437}, {0xE81E, 0x82359037}, {0xE826, 0x82359038}, {0xE82B, 0x82359039},
    {0xE82C, 0x82359130}, {0xE832, 0x82359131}, {0xE843, 0x82359132}, {0xE854, 0x82359133},
    {0xE864, 0x82359134}, {0xE78D, 0x84318236}, {0xE78F, 0x84318237}, {0xE78E, 0x84318238},
    {0xE790, 0x84318239}, {0xE791, 0x84318330}, {0xE792, 0x84318331}, {0xE793, 0x84318332},
    {0xE794, 0x84318333}, {0xE795, 0x84318334}, {0xE796, 0x84318335}, {0xE816, 0xFE51},
    {0xE817, 0xFE52},     {0xE818, 0xFE53},     {0xE831, 0xFE6C},     {0xE83B, 0xFE76},
    {0xE855, 0xFE91}};

std::size_t twoByteIndex(unsigned lead, unsigned trail) {
    return (lead - 0x81) * 191 + (trail - 0x40);
}

// The one- and two-byte codes, read from the C library's converters: code page 936 first,
// so that its characters keep exactly its bytes, then GB18030 for the codes it lacks.
struct CodeTables {
    std::array<char16_t, 126 * 191> character{};  // by twoByteIndex
    std::array<std::uint16_t, 0x10000> code{};    // 0x80 or a two-byte code, by character

    CodeTables() {
        code[kEuro] = 0x80;
        fill("CP936");
        fill("GB18030");
        for (const Placed& p : kPlaced) {
            if (p.code <= 0xFFFF) {
                add(p.code >> 8, p.code & 0xFF, p.character);
            }
        }
    }

    void add(unsigned lead, unsigned trail, char16_t c) {
        character[twoByteIndex(lead, trail)] = c;
        if (code[c] == 0) {
            code[c] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
    }

    void fill(const char* charset) {
        const iconv_t cd = iconv_open("WCHAR_T", charset);
        if (cd == reinterpret_cast<iconv_t>(-1)) {
            return;
        }
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (character[twoByteIndex(lead, trail)] != 0) {
                    continue;
                }
                char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                wchar_t out[2] = {};
                char* src = in;
                char* dst = reinterpret_cast<char*>(out);
                std::size_t left = sizeof in, room = sizeof out;
                const bool read =
                    iconv(cd, &src, &left, &dst, &room) != static_cast<std::size_t>(-1);
                // A code read as a character beyond the BMP is left out: those characters
                // keep their four-byte codes.
                if (read && left == 0 && room == sizeof(wchar_t) && out[0] <= 0xFFFF) {
                    add(lead, trail, static_cast<char16_t>(out[0]));
                }
            }
        }
        iconv_close(cd);
    }
};

const CodeTables& tables() {
    static const CodeTables t;
    return t;
}

std::uint32_t fourByteCode(std::uint32_t linear) {
    const std::uint32_t b4 = linear % 10, b3 = linear / 10 % 126, b2 = linear / 1260 % 10;
    return (0x81 + linear / 12600) << 24 | (0x30 + b2) << 16 | (0x81 + b3) << 8 | (0x30 + b4);
}

// The code of a character of U+0080 and above; 0 for none (only when the C library's
// converters are missing and the character would need a two-byte code).
std::uint32_t codeOf(char32_t c) {
    if (c > 0xFFFF) {
        return fourByteCode(kSupplementaryLinear + (c - 0x10000));
    }
    if (const std::uint16_t code = tables().code[c]; code != 0) {
        return code;
    }
    for (const Placed& p : kPlaced) {
        if (p.character == c) {
            return p.code;
        }
    }
    const Run* next = std::upper_bound(std::begin(kRuns), std::end(kRuns), c,
                                       [](char32_t x, const Run& r) { return x < r.character; });
    const std::uint32_t end = next == std::end(kRuns) ? kBmpLinearEnd : next->linear;
    const Run& run = next[-1];
    const std::uint32_t linear = run.linear + (c - run.character);
    return linear < end ? fourByteCode(linear) : 0;
}

// The character of a four-byte code; 0 for none.
char32_t fourByteCharacter(std::uint32_t code, std::uint32_t linear) {
    for (const Placed& p : kPlaced) {
        if (p.code == code) {
            return p.character;
        }
    }
    if (linear < kBmpLinearEnd) {
        const Run* next =
            std::upper_bound(std::begin(kRuns), std::end(kRuns), linear,
                             [](std::uint32_t l, const Run& r) { return l < r.linear; });
        return next[-1].character + (linear - next[-1].linear);
    }
    if (linear >= kSupplementaryLinear && linear - kSupplementaryLinear <= 0x10FFFF - 0x10000) {
        return 0x10000 + (linear - kSupplementaryLinear);
    }
    return 0;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
    } else {
        if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        }
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

void appendCode(std::string& out, std::uint32_t code) {
    if (code > 0xFFFF) {
        out += static_cast<char>(code >> 24);
        out += static_cast<char>(code >> 16);
    }
    if (code > 0xFF) {
        out += static_cast<char>(code >> 8);
    }
    out += static_cast<char>(code);
}

// The escape the program's lists show for a byte that is no character.
void appendEscape(std::string& out, unsigned char b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 0xF];
}

// The length of the valid UTF-8 sequence at the start of text and its value; 0 when none.
std::size_t utf8Sequence(std::string_view text, char32_t& value) {
    if (text.empty()) {
        return 0;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        value = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    return length;
}

}  // namespace

std::string Gb18030Codec::decode(std::string_view bytes) {
    const CodeTables& t = tables();
    const auto at = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
    };
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned lead = at(i), second = at(i + 1);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        char32_t c = 0;
        std::size_t length = 1;
        if (lead == 0x80) {
            c = kEuro;
        } else if (lead == 0xFF) {
            // begins no character
        } else if (second >= 0x30 && second <= 0x39) {
            const unsigned third = at(i + 2), fourth = at(i + 3);
            if (third >= 0x81 && third <= 0xFE && fourth >= 0x30 && fourth <= 0x39) {
                const std::uint32_t linear =
                    (((lead - 0x81) * 10 + (second - 0x30)) * 126 + (third - 0x81)) * 10 +
                    (fourth - 0x30);
                c = fourByteCharacter(lead << 24 | second << 16 | third << 8 | fourth, linear);
                length = 4;
            }
        } else if (second >= 0x40 && second <= 0xFE && second != 0x7F) {
            c = t.character[twoByteIndex(lead, second)];
            length = 2;
        }
        if (c == 0) {
            out += kReplacement;
            ++i;
        } else {
            appendUtf8(out, c);
            i += length;
        }
    }
    return out;
}

std::string Gb18030Codec::encode(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 2);
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += utf8[i++];
            continue;
        }
        char32_t c = 0;
        const std::size_t length = utf8Sequence(utf8.substr(i), c);
        const std::uint32_t code = length == 0 ? 0 : codeOf(c);
        if (code == 0) {
            // Not UTF-8: the byte alone, visibly escaped; what follows is looked at anew.
            appendEscape(out, lead);
            ++i;
        } else {
            appendCode(out, code);
            i += length;
        }
    }
    return out;
}

std::size_t Gb18030Codec::utf8SequenceLength(std::string_view text) {
    char32_t value = 0;
    return utf8Sequence(text, value);
}

}  // namespace scourix
