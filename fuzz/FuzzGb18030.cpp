// The GB18030 codec: any bytes decode to valid UTF-8 that survives a save and a load; valid
// UTF-8 comes back from disk as it was; and anything, once saved, is saved the same again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Utf8.h"
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

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = Gb18030Codec::decode(bytes);
    check(validUtf8(text));
    const std::string saved = Gb18030Codec::encode(text);
    check(Gb18030Codec::decode(saved) == text);

    // The input as text in memory: escapes keep bytes that are not UTF-8 visible.
    const std::string written = Gb18030Codec::encode(bytes);
    const std::string read = Gb18030Codec::decode(written);
    check(validUtf8(bytes) ? read == bytes : validUtf8(read));
    check(Gb18030Codec::encode(read) == written);
    return 0;
}
