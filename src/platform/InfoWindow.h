#pragma once

#include <string>

namespace scourix {

struct Color {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Color&) const = default;
};

inline constexpr Color kCream{253, 253, 240};
inline constexpr Color kBlue{0, 0, 255};
inline constexpr Color kRed{255, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

// One loaded instance of the modal information window ("信息窗口"). Loading creates it in
// its design state; destroying the object unloads it.
class InfoWindow {
public:
    virtual ~InfoWindow() = default;

    virtual void setText(std::string text) = 0;
    virtual void setTextColors(Color text, Color background) = 0;
    virtual void setTextFontSize(double points) = 0;
    virtual void setHeading(std::string heading) = 0;
    // Returns when the user has closed the window.
    virtual void showModal() = 0;
};

}  // namespace scourix
