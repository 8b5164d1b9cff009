#pragma once

#include <string>
#include <string_view>

namespace scourix {

// Text files on disk are in GB18030, written so that a file of code page 936 (GBK) reads
// and writes byte for byte as that code page does; texts in memory are UTF-8. Both
// directions take any input and never turn one character into another.
class Gb18030Codec {
public:
    // GB18030 to UTF-8. Code page 936's codes read as that code page reads them (0x80 is
    // the euro sign, as is A2 E3); every byte that does not begin a valid character
    // becomes one U+FFFD; NUL bytes are kept.
    static std::string decode(std::string_view bytes);

    // UTF-8 to GB18030: code page 936's characters get that code page's bytes, all others
    // their four-byte codes. A byte that is not valid UTF-8 is written as the visible
    // escape "\xHH", never as another character or a wildcard.
    static std::string encode(std::string_view utf8);

    // The length of the valid UTF-8 sequence at the start of text, 0 when it is not one
    // (overlong forms, surrogates and values beyond U+10FFFF are not valid).
    static std::size_t utf8SequenceLength(std::string_view text);
};

}  // namespace scourix
