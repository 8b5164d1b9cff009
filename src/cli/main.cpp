#include <unistd.h>

#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "cli/CliRun.h"
#include "cli/CommandLine.h"
#include "cli/ManPage.h"
#include "cli/Signals.h"
#include "cli/Translation.h"
#include "platform/posix/PosixFileSystem.h"

namespace {

// The folder of the running executable: its catalogues lie beside it, in a build as well
// as installed.
std::string programFolder() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0) {
        return ".";
    }
    path.resize(static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/'));
}

// What the build makes from the option table: the manual pages and the completion.
int generate(const std::string& what, const std::string& catalogues) {
    if (what == "complete-bash") {
        std::cout << scourix::bashCompletion();
        return 0;
    }
    if (what != "man" && what != "man-zh") {
        std::cerr << "scourix-cli: --generate man|man-zh|complete-bash\n";
        return 2;
    }
    scourix::Translation::use(what == "man-zh" ? "zh_CN" : "en", catalogues);
    std::cout << scourix::manPage();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string catalogues = programFolder() + "/locale";
    if (argc == 3 && std::strcmp(argv[1], "--generate") == 0) {
        return generate(argv[2], catalogues);
    }
    scourix::Translation::setUp(catalogues);
    scourix::Signals::install();
    try {
        scourix::CliSettings settings;
        if (const std::optional<int> status = scourix::CommandLine::parse(argc, argv, settings)) {
            return *status;
        }
        scourix::PosixFileSystem fs;
        scourix::CliRun run(settings, fs);
        return run.run();
    } catch (const std::exception& e) {
        // Memory or the like: the run cannot go on, and says so.
        std::cerr << "scourix-cli: " << e.what() << '\n';
        return 2;
    }
}
