#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/CliSettings.h"

namespace scourix {

// The commands an option belongs to, as bits.
namespace cmd {
inline constexpr unsigned kScan = 1;
inline constexpr unsigned kDelete = 2;
inline constexpr unsigned kStash = 4;
inline constexpr unsigned kRestore = 8;
inline constexpr unsigned kTypes = 16;
inline constexpr unsigned kActions = kDelete | kStash | kRestore;
inline constexpr unsigned kWalking = kScan | kActions;
inline constexpr unsigned kAll = kWalking | kTypes;
}  // namespace cmd

// What an option's value is, which also says what the shell completes it to.
enum class ValueKind { None, Pattern, File, Age, Size };

// One option of the command line, defined once: the parser, --help, both manual pages
// and the shell completion are all made from this table. The texts are message ids,
// translated where they are shown.
struct Option {
    std::string_view longName;
    char shortName = 0;
    ValueKind kind = ValueKind::None;
    const char* valueName = nullptr;  // "PATTERN", "AGE"...; null for a switch
    const char* brief = nullptr;      // one line, for --help
    const char* help = nullptr;       // a paragraph, for the manual page
    unsigned commands = 0;
    // Applies one occurrence (the value, "" for a switch); throws std::invalid_argument
    // with the reason for a value that cannot be used.
    void (*apply)(CliSettings&, const std::string&) = nullptr;

    static std::span<const Option> table();
};

// The commands with their one-line and long descriptions.
struct CommandInfo {
    std::string_view name;
    Command command;
    unsigned bit;
    const char* synopsis;  // the arguments after the name
    const char* brief;
    const char* help;

    static std::span<const CommandInfo> table();
};

// "7d" in seconds: units s, m, h, d, w; a bare number is seconds.
std::int64_t parseAge(const std::string& text);
// "10M" in bytes: units K, M, G (powers of 1024); a bare number is bytes.
std::uint64_t parseSize(const std::string& text);

}  // namespace scourix
