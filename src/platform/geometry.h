// Window geometry in screen pixels. The console's layout rules are written in
// twips at a fixed 15 twips per pixel; the windows themselves work in pixels.
#pragma once

namespace vantrel {

inline constexpr int kTwipsPerPixel = 15;

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0;
    int y = 0;

    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;

    bool operator==(const Size&) const = default;
};

}  // namespace vantrel
