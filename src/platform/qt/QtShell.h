#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace scourix {

// The freedesktop services: xdg-open and xdg-mime for opening, the default text editor's
// desktop entry for saved lists, the file manager's D-Bus interface for the properties
// sheet. A path always travels as one argument with its exact bytes, never through a
// shell.
class QtShell final : public Shell {
public:
    OpenOutcome openDocument(const std::string& path, const std::string& head) override;
    bool showProperties(const std::string& path) override;
    OpenOutcome openTextFile(const std::string& path) override;

    // "file://" and the absolute path, every byte outside the unreserved set and "/"
    // percent-encoded, so that any name reaches the file manager unchanged.
    static QString fileUri(const std::string& path);
    // The desktop's MIME type of the file, from its name and, where that is unclear, the
    // first bytes given: the file is never opened here, where it could have been swapped
    // for a device or a FIFO.
    static QString mimeTypeOf(const std::string& path, const QByteArray& head);
    // The desktop id of the default application for the type as xdg-mime names it ("" for
    // none); nothing when xdg-mime cannot be asked, so that the opener itself decides.
    static std::optional<QString> defaultApplication(const QString& mimeType);
    // Starts a program with its arguments, never through a shell, and leaves it running;
    // false when it could not be started.
    static bool spawnDetached(const std::vector<std::string>& command);
};

}  // namespace scourix
