#include "cli/Output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "platform/VisibleText.h"

namespace scourix {

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

nlohmann::ordered_json objectOf(const std::string& path, const FileFacts& facts) {
    // The escaped text is valid UTF-8 whatever the name's bytes, as JSON needs.
    return nlohmann::ordered_json{
        {"path", visibleText(path)}, {"size", facts.length}, {"mtime", facts.mtime}};
}

}  // namespace

Output::Output(OutputFormat format) : format_(format), terminal_(::isatty(STDOUT_FILENO) == 1) {
    buffer_.reserve(kBufferSize);
}

Output::~Output() {
    flush();
}

void Output::pathLine(const std::string& path) {
    if (format_ == OutputFormat::Null) {
        buffer_ += path;
        buffer_ += '\0';
    } else {
        buffer_ += visibleText(path);
        buffer_ += '\n';
    }
    if (terminal_ || buffer_.size() >= kBufferSize) {
        flush();
    }
}

void Output::listed(const std::string& path, const FileFacts& facts) {
    if (format_ == OutputFormat::Json) {
        line(objectOf(path, facts).dump());
    } else {
        pathLine(path);
    }
}

void Output::acted(const std::string& path, const FileFacts& facts, bool done,
                   const std::string& error, const std::string& shown) {
    if (format_ == OutputFormat::Json) {
        nlohmann::ordered_json object = objectOf(path, facts);
        object["done"] = done;
        object["error"] = done ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(error);
        if (done && shown != path && !shown.empty()) {
            object["to"] = visibleText(shown);
        }
        line(object.dump());
    } else if (done && !shown.empty()) {
        pathLine(shown);
    }
}

void Output::line(const std::string& text) {
    buffer_ += text;
    buffer_ += '\n';
    if (terminal_ || buffer_.size() >= kBufferSize) {
        flush();
    }
}

void Output::flush() {
    write(buffer_);
    buffer_.clear();
}

void Output::write(const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            // The reader is gone (or the disk is full): nothing more can be said to it.
            ::_exit(errno == EPIPE ? kBrokenPipe : 2);
        }
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace scourix
