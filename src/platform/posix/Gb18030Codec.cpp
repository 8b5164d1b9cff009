#include "platform/posix/Gb18030Codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace scourix {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// glibc knows the code page as CP936 (GBK plus the euro sign at 0x80); older tables
// only as GBK.
iconv_t openConverter(bool toGbk) {
    for (const char* name : {"CP936", "GBK"}) {
        iconv_t cd = toGbk ? iconv_open(name, "UTF-8") : iconv_open("UTF-8", name);
        if (cd != kNoConverter) {
            return cd;
        }
    }
    return kNoConverter;
}

// What to do with the bytes at which the converter stopped: how many to consume and what
// to write in their place.
struct Repair {
    std::size_t consumed;
    std::string_view replacement;
};

template <class RepairFn>
std::string convert(bool toGbk, std::string_view input, RepairFn repair) {
    iconv_t cd = openConverter(toGbk);
    std::string out;
    out.resize(input.size() + input.size() / 2 + 16);
    std::size_t used = 0;
    char* src = const_cast<char*>(input.data());
    std::size_t left = input.size();
    while (left > 0) {
        if (cd != kNoConverter) {
            char* dst = out.data() + used;
            std::size_t room = out.size() - used;
            const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
            used = static_cast<std::size_t>(dst - out.data());
            if (rc != static_cast<std::size_t>(-1)) {
                break;
            }
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
        } else if (static_cast<unsigned char>(*src) < 0x80) {
            // Without a converter only ASCII passes through, which both sides share.
            if (used == out.size()) {
                out.resize(out.size() * 2);
            }
            out[used++] = *src++;
            --left;
            continue;
        }
        // An invalid, incomplete or unrepresentable sequence: repair it and go on.
        const Repair r = repair(std::string_view(src, left));
        if (out.size() - used < r.replacement.size()) {
            out.resize(out.size() * 2 + r.replacement.size());
        }
        std::memcpy(out.data() + used, r.replacement.data(), r.replacement.size());
        used += r.replacement.size();
        src += r.consumed;
        left -= r.consumed;
    }
    if (cd != kNoConverter) {
        iconv_close(cd);
    }
    out.resize(used);
    return out;
}

}  // namespace

std::string Gb18030Codec::decode(std::string_view gbk) {
    return convert(false, gbk, [](std::string_view) { return Repair{1, kReplacement}; });
}

std::string Gb18030Codec::encode(std::string_view utf8) {
    return convert(true, utf8, [](std::string_view rest) {
        const std::size_t n = utf8SequenceLength(rest);
        if (n > 0) {
            return Repair{n, "?"};
        }
        return Repair{1, rest.substr(0, 1)};
    });
}

std::size_t Gb18030Codec::utf8SequenceLength(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
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

}  // namespace scourix
