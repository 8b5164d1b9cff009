#include "platform/posix/SystemError.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstring>
#include <string_view>

namespace scourix {

namespace {

// strerror_r comes in two shapes; take the text from whichever this C library has.
[[maybe_unused]] const char* textOf(const char* gnuResult, const char*) {
    return gnuResult;
}
[[maybe_unused]] const char* textOf(int posixResult, const char* buffer) {
    return posixResult == 0 ? buffer : "Unknown error";
}

bool isUtf8OrAscii(std::string_view codeset) {
    return codeset == "UTF-8" || codeset == "utf8" || codeset == "ANSI_X3.4-1968" ||
           codeset == "ASCII";
}

// Message catalogs answer in the locale's character set (a zh_CN.GB18030 locale gives
// GB18030); texts in memory are UTF-8.
std::string toUtf8(const std::string& text, const char* codeset) {
    iconv_t cd = iconv_open("UTF-8", codeset);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return text;
    }
    std::string out(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) {
        return text;
    }
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

Error systemError(int code) {
    char buffer[512];
    std::string description = textOf(strerror_r(code, buffer, sizeof buffer), buffer);
    const char* codeset = nl_langinfo(CODESET);
    if (codeset != nullptr && !isUtf8OrAscii(codeset)) {
        description = toUtf8(description, codeset);
    }
    return Error{code, std::move(description)};
}

Error lastSystemError() {
    return systemError(errno);
}

}  // namespace scourix
