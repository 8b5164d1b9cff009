// The code page 936 codec: any bytes decode to valid UTF-8, and decoded text encodes back
// to bytes that decode to the same text (a replacement character comes back as "?").
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Utf8.h"
#include "platform/posix/Gb18030Codec.h"

using namespace scourix;

namespace {

bool validUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        if (utf8::isRawByte(utf8::next(s, i))) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = Gb18030Codec::decode(bytes);
    if (!validUtf8(text)) {
        std::abort();
    }
    std::string expected = text;
    const std::string fffd = "\xEF\xBF\xBD";
    for (std::size_t at; (at = expected.find(fffd)) != std::string::npos;) {
        expected.replace(at, fffd.size(), "?");
    }
    if (Gb18030Codec::decode(Gb18030Codec::encode(text)) != expected) {
        std::abort();
    }
    // Encoding arbitrary bytes never fails: what is not UTF-8 passes through.
    (void)Gb18030Codec::encode(bytes);
    return 0;
}
