#pragma once

#include <functional>
#include <string>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace scourix {

// The window's parts as a run without a window has them: no controls to show, no boxes to
// click. The folder the walk shows (lblInfo) and each pass of the event loop go to the run;
// a box that would ask is answered with its cautious choice.
class HeadlessFace final : public Controls, public Dialogs, public WindowSystem, public Shell {
public:
    std::function<void(const std::string&)> onFolder;
    std::function<void()> onEvents;

    void setEnabled(std::string_view, bool) override {}
    std::string caption(std::string_view) const override { return {}; }
    void setCaption(std::string_view name, std::string text) override;
    void setToolTip(std::string_view, std::string) override {}
    int value(std::string_view) const override { return 0; }
    void setValue(std::string_view, int) override {}
    void setFocus(std::string_view) override {}
    Rect geometry(std::string_view) const override { return {}; }
    void setGeometry(std::string_view, Rect) override {}

    // Ignore where a failure is offered, No to a question, Cancel to the rest.
    int messageBox(const std::string& text, int flags, const std::string& title) override;
    std::string inputBox(const std::string&, const std::string&, const std::string&) override {
        return {};
    }

    void showMainWindow() override {}
    void doEvents() override;
    void setPointer(int) override {}
    void popupMenu(std::string_view) override {}
    std::unique_ptr<InfoWindow> loadInfoWindow() override { return nullptr; }
    void requestClose() override {}
    void endNow() override {}
    bool minimized() const override { return false; }
    int clientWidth() const override { return 0; }
    int clientHeight() const override { return 0; }

    OpenOutcome openDocument(const std::string&, const std::string&) override {
        return OpenOutcome::Failed;
    }
    bool showProperties(const std::string&) override { return false; }
    OpenOutcome openTextFile(const std::string&) override { return OpenOutcome::Failed; }
};

}  // namespace scourix
