#pragma once

#include <string>

// Marks a text for translation where it is defined; tr() translates it where it is shown.
#define N_(text) text

namespace scourix {

// The command line's language: Simplified Chinese under a zh_CN or zh_SG locale, English
// otherwise, through gettext with the catalogue beside the executable.
class Translation {
public:
    // Sets the locale from the environment and chooses the language. catalogueRoot is the
    // folder holding <language>/LC_MESSAGES/scourix-cli.mo.
    static void setUp(const std::string& catalogueRoot);
    // Chooses the language outright ("zh_CN" or "en"), for making the manual pages.
    static void use(const std::string& language, const std::string& catalogueRoot);

    static bool chinese();
};

const char* tr(const char* msgid);
// The form of a text that the count n takes: English has one and many, Chinese one form.
const char* trn(const char* one, const char* many, unsigned long n);

}  // namespace scourix
