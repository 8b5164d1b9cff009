#pragma once

#include <string>
#include <string_view>

namespace scourix {

// Text files on disk are in code page 936 (GBK); texts in memory are UTF-8. Both
// directions take any input: they convert in bulk and step over bad bytes one at a time.
class Gb18030Codec {
public:
    // Code page 936 to UTF-8. Every byte that does not begin a valid character becomes
    // one U+FFFD; NUL bytes are kept.
    static std::string decode(std::string_view gbk);

    // UTF-8 to code page 936. A character the code page cannot represent becomes "?";
    // bytes that are not valid UTF-8 are copied unchanged, so a file name that is not
    // UTF-8 keeps its exact bytes.
    static std::string encode(std::string_view utf8);

    // The length of the valid UTF-8 sequence at the start of text, 0 when it is not one
    // (overlong forms, surrogates and values beyond U+10FFFF are not valid).
    static std::size_t utf8SequenceLength(std::string_view text);
};

}  // namespace scourix
