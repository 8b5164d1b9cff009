#include "types/BuiltInTypes.h"

#include <array>

namespace scourix {
namespace {

constexpr std::array<std::string_view, 43> kBuiltIn{
    "*.---",
    "*.#Res",
    "*.$$$",
    "*.&&&",
    "*.??$",
    "*.??~",
    "*.@@@",
    "*._mp",
    "*.~*",
    "*.ab0",
    "*.ab1",
    "*.ab2",
    "*.ab3",
    "*.ab4",
    "*.bak",
    "*.bk_",
    "*.bk1",
    "*.bk2",
    "*.bk3",
    "*.bk4",
    "*.bkp",
    "*.cdr_",
    "*.chk",
    "*.cmp",
    "*.del",
    "*.dir",
    "*.eco",
    "*.err",
    "*.ftg",
    "*.fts",
    "*.gid",
    "*.ldb",
    "*.old",
    "*.sc~",
    "*.syd",
    "*.tmp",
    "*.wbk",
    "*.xlk",
    "~*.*",
    "Backup of*.*",
    "chklist.*",
    "mscreate.dir",
    "Previous Backup of*.*",
};

}  // namespace

std::span<const std::string_view> builtInTypes() {
    return kBuiltIn;
}

std::string builtInTypeList() {
    std::string text;
    for (std::string_view pattern : kBuiltIn) {
        text += '1';
        text += pattern;
        text += "\r\n";
    }
    return text;
}

}  // namespace scourix
