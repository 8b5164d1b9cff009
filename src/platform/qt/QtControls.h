#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <string>
#include <unordered_map>

#include "platform/Controls.h"

class QLabel;
class QObject;
class QWidget;

namespace scourix {

// The window's controls and menus by object name: push buttons, check boxes, labels and
// lists, the menus of the menu bar (enabled through their menu action) and menu items.
// The window itself goes by its own object name. Geometry is in twips within the client
// area. Nothing set here runs a click handler: those follow only the user's action.
class QtControls final : public Controls {
public:
    // A label with this property set to true sizes itself to its caption.
    static constexpr const char* kAutoSizeProperty = "autoSizeToText";

    QtControls(QWidget& window, QWidget& clientArea);

    void setEnabled(std::string_view name, bool on) override;

    std::string caption(std::string_view name) const override;
    void setCaption(std::string_view name, std::string text) override;

    void setToolTip(std::string_view name, std::string text) override;

    int value(std::string_view name) const override;
    void setValue(std::string_view name, int value) override;

    void setFocus(std::string_view name) override;

    Rect geometry(std::string_view name) const override;
    void setGeometry(std::string_view name, Rect r) override;

private:
    QObject* find(std::string_view name) const;
    bool isWindow(std::string_view name) const;
    void setStatusLine(QLabel* label, std::string text);

    QWidget& window_;
    QWidget& client_;
    mutable std::unordered_map<std::string, QPointer<QObject>> cache_;

    // The status line is set for every folder a scan enters; painting it that often would
    // cost more than the scan itself, so it is painted at most about 30 times a second and
    // always ends up showing the latest text.
    QPointer<QLabel> statusLabel_;
    std::string pendingStatus_;
    bool statusPending_ = false;
    QElapsedTimer sinceStatusShown_;
    QTimer statusTimer_;
};

}  // namespace scourix
