#include "cli/Progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include "base/TextFormat.h"
#include "cli/TextFormatting.h"
#include "cli/Translation.h"
#include "platform/VisibleText.h"

namespace scourix {

Progress::Progress(bool wanted) : on_(wanted && ::isatty(STDERR_FILENO) == 1) {}

void Progress::update(std::size_t folders, std::size_t files, const std::string& folder) {
    if (!on_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - last_ < std::chrono::milliseconds(100)) {
        return;
    }
    last_ = now;
    struct winsize size {};
    const std::size_t width =
        ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
    std::string text =
        substitute(tr("%1 folders, %2 files: "), {formatGrouped(folders), formatGrouped(files)});
    // Characters, not bytes, fill the width; a wide character may take two columns, so
    // half the width is kept free of the folder for safety.
    const std::string shown = visibleText(folder);
    std::size_t room = width > characterCount(text) + 1 ? (width - characterCount(text) - 1) : 0;
    room = Translation::chinese() ? room / 2 : room;
    std::size_t end = 0;
    for (std::size_t chars = 0; end < shown.size() && chars < room; ++chars) {
        ++end;
        while (end < shown.size() && (static_cast<unsigned char>(shown[end]) & 0xC0) == 0x80) {
            ++end;
        }
    }
    text += shown.substr(0, end);
    text = "\r\x1b[K" + text;
    (void)!::write(STDERR_FILENO, text.data(), text.size());
    shown_ = true;
}

void Progress::clear() {
    if (shown_) {
        (void)!::write(STDERR_FILENO, "\r\x1b[K", 4);
        shown_ = false;
    }
}

}  // namespace scourix
