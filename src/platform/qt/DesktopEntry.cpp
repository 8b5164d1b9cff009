#include "platform/qt/DesktopEntry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace scourix {

namespace {

std::vector<std::string> dataFolders() {
    std::vector<std::string> folders;
    const char* home = std::getenv("XDG_DATA_HOME");
    const char* user = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        folders.emplace_back(home);
    } else if (user != nullptr && user[0] == '/') {
        folders.push_back(std::string(user) + "/.local/share");
    }
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::istringstream list(dirs != nullptr && dirs[0] != '\0' ? dirs
                                                               : "/usr/local/share:/usr/share");
    for (std::string folder; std::getline(list, folder, ':');) {
        if (folder.starts_with('/')) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

// An entry is a command that the program runs, perhaps as root with another user's
// environment (`sudo -E`): only one that root or the running user wrote, and no one else
// can change, is taken.
bool isTrustedEntry(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_uid == 0 || st.st_uid == ::geteuid()) && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The value of key in the [Desktop Entry] group, its escapes (\s \n \t \r \\) decoded;
// "" when it is missing.
std::string valueOf(const std::string& text, const std::string& key) {
    std::istringstream lines(text);
    bool inGroup = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.starts_with('[')) {
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inGroup || eq == std::string::npos) {
            continue;
        }
        std::string name = line.substr(0, eq);
        while (!name.empty() && name.back() == ' ') {
            name.pop_back();
        }
        if (name != key) {
            continue;
        }
        const std::size_t start = line.find_first_not_of(' ', eq + 1);
        std::string value;
        for (std::size_t i = start == std::string::npos ? line.size() : start; i < line.size();
             ++i) {
            if (line[i] != '\\' || i + 1 == line.size()) {
                value += line[i];
                continue;
            }
            const char c = line[++i];
            value += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
        }
        return value;
    }
    return {};
}

// The Exec value split into arguments: blanks separate them, double quotes group, and
// within quotes a backslash makes the next character literal.
std::vector<std::string> splitExec(const std::string& exec, bool& ok) {
    std::vector<std::string> args;
    std::string arg;
    bool inArg = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size()) {
                arg += exec[++i];
            } else {
                arg += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (inArg) {
                args.push_back(std::move(arg));
                arg.clear();
                inArg = false;
            }
        } else {
            inArg = true;
            if (c == '"') {
                quoted = true;
            } else {
                arg += c;
            }
        }
    }
    ok = !quoted;
    if (inArg) {
        args.push_back(std::move(arg));
    }
    return args;
}

}  // namespace

std::string DesktopEntry::find(const std::string& desktopId) {
    if (desktopId.empty() || desktopId.find('/') != std::string::npos ||
        !desktopId.ends_with(".desktop")) {
        return {};
    }
    for (const std::string& folder : dataFolders()) {
        // The id as it is, then each "-" in turn, from the left, read as a subfolder.
        std::string id = desktopId;
        for (std::size_t from = 0;;) {
            const std::string path = folder + "/applications/" + id;
            if (isTrustedEntry(path)) {
                return path;
            }
            const std::size_t dash = id.find('-', from);
            if (dash == std::string::npos) {
                break;
            }
            id[dash] = '/';
            from = dash + 1;
        }
    }
    return {};
}

std::vector<std::string> DesktopEntry::commandFor(const std::string& entryText,
                                                  const std::string& entryPath,
                                                  const std::string& file) {
    bool ok = false;
    const std::vector<std::string> exec = splitExec(valueOf(entryText, "Exec"), ok);
    if (!ok || exec.empty()) {
        return {};
    }
    std::vector<std::string> command;
    if (valueOf(entryText, "Terminal") == "true") {
        command = {"x-terminal-emulator", "-e"};
    }
    bool fileGiven = false;
    for (const std::string& arg : exec) {
        if (arg == "%i") {
            if (const std::string icon = valueOf(entryText, "Icon"); !icon.empty()) {
                command.insert(command.end(), {"--icon", icon});
            }
            continue;
        }
        std::string out;
        for (std::size_t i = 0; i < arg.size(); ++i) {
            if (arg[i] != '%' || i + 1 == arg.size()) {
                out += arg[i];
                continue;
            }
            switch (arg[++i]) {
                case 'f':
                case 'F':
                    out += file;
                    fileGiven = true;
                    break;
                case 'u':
                case 'U':
                    out += fileUri(file);
                    fileGiven = true;
                    break;
                case 'c':
                    out += valueOf(entryText, "Name");
                    break;
                case 'k':
                    out += entryPath;
                    break;
                case '%':
                    out += '%';
                    break;
                default:  // deprecated and unknown codes are removed
                    break;
            }
        }
        // A field code standing alone that expands to nothing takes its argument with it.
        if (!out.empty() || arg.size() != 2 || arg[0] != '%') {
            command.push_back(std::move(out));
        }
    }
    // An entry that names no file takes it as its last argument, as most editors do.
    if (!fileGiven) {
        command.push_back(file);
    }
    return command;
}

std::string DesktopEntry::fileUri(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char ch : path) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
            b == '-' || b == '.' || b == '_' || b == '~' || b == '/') {
            uri += ch;
        } else {
            uri += '%';
            uri += kHex[b >> 4];
            uri += kHex[b & 15];
        }
    }
    return uri;
}

}  // namespace scourix
