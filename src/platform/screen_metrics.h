// The bar's and the pane's measures in pixels on a screen of a given DPI.
// The layout rules are stated in twips, 1440 to the inch; at the standard
// 96 DPI that is 15 twips a pixel, and on a scaled screen 1440 / DPI. Each
// measure is scaled once to whole pixels and the layout counts in those, so
// a pane line is exactly as high as the font's cell and a prompt exactly as
// wide as its characters.
#pragma once

#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace vantrel {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;

// twips at the DPI in whole pixels, to the nearest, an exact half towards
// zero: at 150% a 225-twip line is 22 pixels, a height every monospace face
// has, where 23 is one that some faces skip. A DPI that is not positive
// counts as the standard one.
int ScaleTwips(int twips, int dpi);

// How many character cells the text takes in the bar's fixed font: one a
// character, two for the wide ones of East Asian scripts and emoji, none
// for a combining mark. A byte that starts no UTF-8 character is one.
int TextCells(std::string_view text);

struct ScreenMetrics {
    int dpi = kStandardDpi;
    int barHeight = 17;    // 255 twips
    int controlTop = 1;    // 15 twips
    int cellHeight = 15;   // 225 twips: a control, a pane line, the font's cell
    int cellWidth = 8;     // 120 twips: one character
    int promptMargin = 4;  // 60 twips
    int enterWidth = 53;   // 795 twips
    int minCommand = 67;   // 1000 twips left for the command box
    int outOfSight = -67;  // -1000 twips: the hidden button's left edge
    int paneExtra = 2;     // 30 twips added to the pane's lines
    int paneMargin = 10;   // 150 twips of the pane's box not used for text

    bool operator==(const ScreenMetrics&) const = default;
};

ScreenMetrics MetricsForDpi(int dpi);

// One display of the desktop, in virtual-screen pixels.
struct Monitor {
    Rect bounds;
    bool primary = false;
    int dpi = kStandardDpi;

    bool operator==(const Monitor&) const = default;
};

// The primary monitor; the first one when none is marked; a standard
// 1280 x 720 screen when the list is empty.
Monitor PrimaryMonitor(const std::vector<Monitor>& monitors);
// The monitor that holds most of the rectangle; the primary when the
// rectangle lies on none of them.
Monitor MonitorOf(const std::vector<Monitor>& monitors, const Rect& r);
// Whether the rectangle lies at least partly on one of the monitors.
bool OnSomeMonitor(const std::vector<Monitor>& monitors, const Rect& r);
// The monitor holding the point; the primary when none holds it.
Monitor MonitorAt(const std::vector<Monitor>& monitors, int x, int y);

}  // namespace vantrel
