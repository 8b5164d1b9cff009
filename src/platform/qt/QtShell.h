#pragma once

#include <QString>
#include <string>

#include "platform/Shell.h"

namespace scourix {

// The freedesktop services: xdg-open and xdg-mime for opening, the file manager's D-Bus
// interface for the properties sheet. A path always travels as one argument with its
// exact bytes, never through a shell.
class QtShell final : public Shell {
public:
    OpenOutcome openDocument(const std::string& path) override;
    bool showProperties(const std::string& path) override;
    OpenOutcome openTextFile(const std::string& path) override;

    // "file://" and the absolute path, every byte outside the unreserved set and "/"
    // percent-encoded, so that any name reaches the file manager unchanged.
    static QString fileUri(const std::string& path);
    // The desktop's MIME type of the file, from its name and, where that is unclear, its
    // first bytes.
    static QString mimeTypeOf(const std::string& path);
    // Whether xdg-mime names a default application for the type; true when it cannot be
    // asked, so that the opener itself decides.
    static bool hasDefaultApplication(const QString& mimeType);
    // Starts a program with one argument and leaves it running; false when it could not
    // be started.
    static bool spawnDetached(const char* program, const std::string& argument);
};

}  // namespace scourix
