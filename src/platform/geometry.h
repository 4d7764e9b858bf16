// Window geometry in screen pixels. The console's layout rules are written in
// twips; screen_metrics.h turns them into pixels at a monitor's scale.
#pragma once

namespace vantrel {

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
