#include "cli/Translation.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <string_view>

namespace scourix {

namespace {

constexpr const char* kDomain = "scourix-cli";
bool useChinese = false;

// The first of the variables that set the message language, as the C library reads them.
std::string_view messageLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

}  // namespace

void Translation::use(const std::string& language, const std::string& catalogueRoot) {
    useChinese = language.starts_with("zh");
    if (!useChinese) {
        return;
    }
    // gettext ignores LANGUAGE only under the plain "C" locale: where the zh locale is not
    // generated, C.UTF-8 keeps the catalogue in use and its UTF-8 texts whole.
    const char* messages = std::setlocale(LC_MESSAGES, nullptr);
    if (messages == nullptr || std::string_view(messages) == "C" ||
        std::string_view(messages) == "POSIX") {
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    }
    ::setenv("LANGUAGE", "zh_CN", 1);
    ::bindtextdomain(kDomain, catalogueRoot.c_str());
    ::bind_textdomain_codeset(kDomain, "UTF-8");
    ::textdomain(kDomain);
}

void Translation::setUp(const std::string& catalogueRoot) {
    if (std::setlocale(LC_ALL, "") == nullptr) {
        // A locale that is not generated: the program still speaks UTF-8.
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    const std::string_view wanted = messageLocale();
    use(wanted.starts_with("zh_CN") || wanted.starts_with("zh_SG") ? "zh_CN" : "en", catalogueRoot);
}

bool Translation::chinese() {
    return useChinese;
}

const char* tr(const char* msgid) {
    return useChinese ? ::dgettext(kDomain, msgid) : msgid;
}

const char* trn(const char* one, const char* many, unsigned long n) {
    if (useChinese) {
        return ::dngettext(kDomain, one, many, n);
    }
    return n == 1 ? one : many;
}

}  // namespace scourix
