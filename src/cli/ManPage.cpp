#include "cli/ManPage.h"

#include "cli/CommandLine.h"
#include "cli/Option.h"
#include "cli/Translation.h"

namespace scourix {

namespace {

// Text as roff shows it: backslashes doubled, a line starting with "." or "'" protected.
std::string roff(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto lead = static_cast<unsigned char>(c);
        // Chinese has no spaces between words: a break point after each character (CJK
        // ideographs and punctuation, full-width forms) lets a line end there.
        if (i + 2 < text.size() &&
            ((lead >= 0xE3 && lead <= 0xE9) ||
             (lead == 0xEF && (static_cast<unsigned char>(text[i + 1]) & 0xFE) == 0xBC))) {
            out.append(text, i, 3);
            out += "\\:";
            i += 2;
            continue;
        }
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\'')) {
        out.insert(0, "\\&");
    }
    return out;
}

std::string optionHead(const Option& option) {
    std::string head = ".TP\n\\fB";
    if (option.shortName != 0) {
        head += std::string("\\-") + option.shortName + "\\fR, \\fB";
    }
    head += "\\-\\-" + roff(std::string(option.longName)) + "\\fR";
    if (option.valueName != nullptr) {
        head += " \\fI" + roff(tr(option.valueName)) + "\\fR";
    }
    return head + "\n";
}

std::string commandsOf(unsigned bits) {
    std::string names;
    for (const CommandInfo& info : CommandInfo::table()) {
        if ((bits & info.bit) != 0) {
            names += (names.empty() ? "" : ", ") + std::string(info.name);
        }
    }
    return names;
}

}  // namespace

std::string manPage() {
    std::string page = ".TH SCOURIX\\-CLI 1 \"\" \"" + roff(kVersionText) + "\" \"" +
                       roff(tr("User Commands")) + "\"\n";
    // Ragged right: justified Chinese text spreads out along the few spaces it has.
    page += ".ad l\n.nh\n";
    page += ".SH " + roff(tr("NAME")) + "\nscourix\\-cli \\- " +
            roff(tr("find junk files and delete, stash or restore them, without a window")) + "\n";
    page += ".SH " + roff(tr("SYNOPSIS")) + "\n";
    for (const CommandInfo& info : CommandInfo::table()) {
        page += "\\fBscourix\\-cli " + std::string(info.name) + "\\fR " + roff(tr(info.synopsis)) +
                "\n.br\n";
    }
    page += ".SH " + roff(tr("DESCRIPTION")) + "\n" +
            roff(tr("scourix-cli is the command line of Scourix. It uses the window's engine: the "
                    "same walk, the same patterns with their wildcard and case rules, the same "
                    "safety rules (system files, files a package installed and links to folders "
                    "are never listed; another user's link is never followed), and the same "
                    "TypeList.ini. Paths are printed one a line with escapes, so that every line "
                    "names exactly one file: \\\\ for a backslash, \\n, \\r, \\t, \\xHH for other "
                    "control bytes and bytes that are not UTF-8, \\uHHHH and \\UHHHHHHHH for "
                    "invisible and direction-changing characters.")) +
            "\n";
    page += ".SH " + roff(tr("COMMANDS")) + "\n";
    for (const CommandInfo& info : CommandInfo::table()) {
        page += ".TP\n\\fB" + std::string(info.name) + "\\fR " + roff(tr(info.synopsis)) + "\n" +
                roff(tr(info.help)) + "\n";
    }
    page += ".SH " + roff(tr("OPTIONS")) + "\n";
    for (const Option& option : Option::table()) {
        page += optionHead(option) + roff(tr(option.help));
        if (option.commands != cmd::kAll) {
            page += " (" + roff(commandsOf(option.commands)) + ")";
        }
        page += "\n";
    }
    page += ".SH " + roff(tr("EXIT STATUS")) + "\n";
    const char* statuses[][2] = {
        {"0", N_("Success, whether or not anything was found.")},
        {"1", N_("Some files or folders could not be read or acted on (each is reported on "
                 "standard error; the walk goes on), or the question was answered no.")},
        {"2", N_("A usage error, a refusal to delete without a terminal and without --yes, or a "
                 "fatal error.")},
        {"130", N_("Stopped by SIGINT (Ctrl+C): a scan at once, an action after the current "
                   "file. Outranks 1.")},
        {"143", N_("Stopped by SIGTERM, in the same way.")},
        {"141", N_("The output pipe was closed by its reader: the program ends silently.")},
    };
    for (const auto& [code, text] : statuses) {
        page += ".TP\n\\fB" + std::string(code) + "\\fR\n" + roff(tr(text)) + "\n";
    }
    page += ".SH " + roff(tr("EXAMPLES")) + "\n";
    const char* examples[][2] = {
        {N_("Preview, edit the list, then delete exactly what is left in it:"),
         "scourix-cli scan -0 ~/build > list\n"
         "scourix-cli delete --from list -0"},
        {N_("Stash week-old junk, and later undo it:"),
         "scourix-cli stash --older-than 7d ~ > stashed\n"
         "scourix-cli restore --from stashed"},
        {N_("List large log files as JSON, keeping one folder out:"),
         "scourix-cli scan -p '*.log' --larger-than 10M -E '*/keep' --json /var/tmp"},
    };
    for (const auto& [text, command] : examples) {
        page += ".PP\n" + roff(tr(text)) + "\n.PP\n.nf\n.RS\n" + roff(command) + "\n.RE\n.fi\n";
    }
    page += ".SH " + roff(tr("FILES")) + "\n.TP\n\\fI~/.config/scourix/TypeList.ini\\fR\n" +
            roff(tr("The pattern list and its ticks, shared with the window (the program's folder "
                    "holds it when the program is not installed).")) +
            "\n";
    page +=
        ".SH " + roff(tr("SEE ALSO")) + "\n\\fBscourix\\fR(1), \\fBfind\\fR(1), \\fBrm\\fR(1)\n";
    return page;
}

std::string bashCompletion() {
    std::string commands;
    std::string cases;
    for (const CommandInfo& info : CommandInfo::table()) {
        commands += (commands.empty() ? "" : " ") + std::string(info.name);
        std::string words;
        for (const Option& option : Option::table()) {
            if ((option.commands & info.bit) == 0) {
                continue;
            }
            if (option.shortName != 0) {
                words += std::string(" -") + option.shortName;
            }
            words += " --" + std::string(option.longName);
        }
        cases += "        " + std::string(info.name) + ") opts=\"" + words.substr(1) + "\" ;;\n";
    }
    std::string files;
    std::string none;
    for (const Option& option : Option::table()) {
        std::string& into = option.kind == ValueKind::File ? files : none;
        if (option.kind == ValueKind::None) {
            continue;
        }
        if (option.shortName != 0) {
            into += std::string("|-") + option.shortName;
        }
        into += "|--" + std::string(option.longName);
    }
    return "# bash completion for scourix-cli, made from its option table\n"
           "_scourix_cli() {\n"
           "    local cur prev cmd opts i\n"
           "    cur=${COMP_WORDS[COMP_CWORD]}\n"
           "    prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           "        case ${COMP_WORDS[i]} in -*) ;; *) cmd=${COMP_WORDS[i]}; break ;; esac\n"
           "    done\n"
           "    if [[ -z $cmd ]]; then\n"
           "        COMPREPLY=($(compgen -W \"" +
           commands +
           " --help --version\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    case $prev in\n"
           "        " +
           files.substr(1) +
           ") COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
           "        " +
           none.substr(1) +
           ") return ;;\n"
           "    esac\n"
           "    case $cmd in\n" +
           cases +
           "        *) return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$opts\" -- \"$cur\"))\n"
           "    elif [[ $cmd != types ]]; then\n"
           "        COMPREPLY=($(compgen -d -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _scourix_cli scourix-cli\n";
}

}  // namespace scourix
