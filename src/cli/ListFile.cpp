#include "cli/ListFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "cli/Signals.h"
#include "cli/Translation.h"
#include "platform/VisibleText.h"

namespace scourix {

Result<std::string> ListFile::readAll(const std::string& path) {
    const int fd = path == "-" ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errorOf(errno);
    }
    std::string text;
    char block[65536];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR && Signals::received() == 0) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : 0;
            if (fd != STDIN_FILENO) {
                ::close(fd);
            }
            if (error != 0) {
                return errorOf(error);
            }
            return text;
        }
        text.append(block, static_cast<std::size_t>(n));
    }
}

std::vector<std::string> ListFile::splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            end = text.size();
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string ListFile::tidyPath(const std::string& path) {
    std::string out;
    for (const std::string& part : splitOn(path, '/')) {
        if (!part.empty() && part != ".") {
            out += '/';
            out += part;
        }
    }
    return out.empty() ? "/" : out;
}

std::vector<std::string> ListFile::paths(const std::string& text, bool nul, const std::string& here,
                                         const Refused& refused) {
    std::vector<std::string> out;
    for (std::string entry : splitOn(text, nul ? '\0' : '\n')) {
        if (!nul) {
            // A line edited on another system may end in CR, which the format never
            // writes bare.
            if (entry.ends_with('\r')) {
                entry.pop_back();
            }
            if (entry.empty()) {
                continue;
            }
            // Only what the scan writes for some name stands for that name.
            std::optional<std::string> decoded = decodeVisible(entry);
            if (!decoded) {
                refused(entry, tr("not a line of the list format"));
                continue;
            }
            entry = std::move(*decoded);
        }
        if (entry.empty()) {
            continue;
        }
        // A NUL cannot be part of a name: the line names no file.
        if (entry.find('\0') != std::string::npos) {
            refused(entry, tr("not a path the list format holds"));
            continue;
        }
        out.push_back(tidyPath(entry.front() == '/' ? entry : here + "/" + entry));
        // "x/.." tidies to a path the checks refuse; the original words are kept in it.
    }
    return out;
}

std::vector<std::string> ListFile::patterns(const std::string& text) {
    std::vector<std::string> out;
    for (std::string line : splitOn(text, '\n')) {
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        if (!line.empty() && line.front() != '#') {
            out.push_back(line);
        }
    }
    return out;
}

}  // namespace scourix
