#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <stdexcept>

#include "cli/Option.h"
#include "cli/Translation.h"

namespace scourix {

namespace {

std::string flagNames(const Option& option) {
    std::string names;
    if (option.shortName != 0) {
        names = std::string("-") + option.shortName + ",";
    }
    return names + "--" + std::string(option.longName);
}

void translateLabels(CLI::App& app) {
    auto formatter = app.get_formatter();
    for (const char* label : {N_("Usage"), N_("OPTIONS"), N_("SUBCOMMAND"), N_("SUBCOMMANDS"),
                              N_("Positionals"), N_("Options"), N_("Subcommands"), N_("REQUIRED"),
                              N_("PLACE"), N_("PATTERN"), N_("FILE"), N_("AGE"), N_("SIZE")}) {
        formatter->label(label, tr(label));
    }
    formatter->column_width(32);
}

void addOptions(CLI::App& sub, unsigned bit, CliSettings& settings) {
    for (const Option& option : Option::table()) {
        if ((option.commands & bit) == 0 || option.apply == nullptr) {
            continue;
        }
        const std::string name = "--" + std::string(option.longName);
        const auto apply = [&settings, &option, name](const std::string& value) {
            try {
                option.apply(settings, value);
            } catch (const std::invalid_argument& e) {
                throw CLI::ValidationError(name, value + ": " + tr(e.what()));
            }
        };
        if (option.kind == ValueKind::None) {
            sub.add_flag_callback(
                flagNames(option), [apply] { apply({}); }, tr(option.brief));
        } else {
            sub.add_option_function<std::vector<std::string>>(
                   flagNames(option),
                   [apply](const std::vector<std::string>& values) {
                       for (const std::string& v : values) {
                           apply(v);
                       }
                   },
                   tr(option.brief))
                ->type_name(tr(option.valueName))
                ->allow_extra_args(false)
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        }
    }
    sub.add_flag_callback(
        "--version",
        [] {
            std::cout << kVersionText << '\n';
            throw CLI::Success();
        },
        tr("Show the version and exit"));
}

}  // namespace

std::optional<int> CommandLine::parse(int argc, char** argv, CliSettings& settings) {
    CLI::App app(tr("Find junk files and delete, stash or restore them, without a window."),
                 "scourix-cli");
    app.option_defaults()->group(tr("Options"));
    app.set_help_flag("-h,--help", tr("Show this help and exit"));
    translateLabels(app);
    app.require_subcommand(0, 1);
    app.fallthrough(false);
    app.add_flag_callback(
        "--version",
        [] {
            std::cout << kVersionText << '\n';
            throw CLI::Success();
        },
        tr("Show the version and exit"));
    for (const CommandInfo& info : CommandInfo::table()) {
        CLI::App* sub = app.add_subcommand(std::string(info.name), tr(info.brief));
        sub->option_defaults()->group(tr("Options"));
        sub->set_help_flag("-h,--help", tr("Show this help and exit"));
        translateLabels(*sub);
        sub->callback([&settings, &info] { settings.command = info.command; });
        addOptions(*sub, info.bit, settings);
        if (info.command != Command::Types) {
            sub->add_option(tr("PLACE"), settings.places, tr("The folders to walk"))
                ->type_name(tr("PLACE"));
        }
        // "--" ends the options: a PLACE may begin with a dash.
        sub->positionals_at_end(false);
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::Success&) {
        return 0;
    } catch (const CLI::ParseError& e) {
        std::cerr << "scourix-cli: " << e.what() << '\n';
        std::cerr << tr("Try 'scourix-cli --help' for more information.") << '\n';
        return 2;
    }
    if (settings.command == Command::None) {
        std::cerr << app.help();
        return 2;
    }
    if (settings.command == Command::Scan && settings.places.empty()) {
        std::cerr << "scourix-cli: " << tr("no PLACE given (see --help)") << '\n';
        return 2;
    }
    return std::nullopt;
}

}  // namespace scourix
