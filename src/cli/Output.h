#pragma once

#include <string>

#include "cli/CliSettings.h"
#include "platform/FileSystem.h"

namespace scourix {

// Standard output in the chosen format: escaped lines, NUL-terminated bytes or one JSON
// object a line. A reader that has gone away (a closed pipe) ends the program at once,
// silently, with status 141, as a shell reports a pipe's writer that died of SIGPIPE.
class Output {
public:
    explicit Output(OutputFormat format);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // A file a scan lists (or a dry run would act on).
    void listed(const std::string& path, const FileFacts& facts);
    // A file an action took: shown is the name to print in the list formats (the new name
    // of a stash or restore), empty to print nothing there.
    void acted(const std::string& path, const FileFacts& facts, bool done, const std::string& error,
               const std::string& shown);
    // A line of its own, as it is (types).
    void line(const std::string& text);

    void flush();

    static constexpr int kBrokenPipe = 141;

private:
    void pathLine(const std::string& path);
    void write(const std::string& text);

    OutputFormat format_;
    bool terminal_;
    std::string buffer_;
};

}  // namespace scourix
