#pragma once

#include <memory>

#include "app/MainState.h"

namespace scourix {

class Startup;
class Layout;
class About;
class TypeListStore;
class Locations;

inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// The main window's procedures, named after the control and event that run them. The
// window layer calls these; they work on the shared state through the platform.
class MainForm {
public:
    explicit MainForm(Platform platform);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    MainState& state() { return state_; }
    const MainState& state() const { return state_; }

    // Start-up, the enable switch and closing.
    void Form_Load();
    void SetEn(bool en);
    // Returns Cancel: true keeps the window open.
    bool Form_Unload();
    void cmdClose_Click();
    void mClose_Click();

    // The pattern list's file.
    void LoadTypeList();
    Status SaveTypeList();

    // Layout.
    void Form_Resize();

    // Locations.
    void cmdAddPath_Click();
    void mAddPath_Click();
    void lstDrive_MouseUp(int button, int shift);
    void mDSelAll_Click();
    void mDUSelAll_Click();
    void mDChSell_Click();

    // Help menu.
    void mHomePage_Click();
    void mAbout_Click();

private:
    MainState state_;
    std::unique_ptr<TypeListStore> types_;
    std::unique_ptr<Locations> locations_;
    std::unique_ptr<Startup> startup_;
    std::unique_ptr<Layout> layout_;
    std::unique_ptr<About> about_;
};

}  // namespace scourix
