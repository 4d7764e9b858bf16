// The placement rules of the bar that need no window: the two-button drag
// arithmetic and the docked bar's rectangle.
#pragma once

#include "platform/console_events.h"
#include "platform/console_window.h"
#include "platform/screen_metrics.h"

namespace vantrel {

// The stored floating place (WinX, WinY, WinWidth as numbers) and what a
// mouse move over the bar makes of it.
struct DragResult {
    bool moved = false;    // winX and winY changed
    bool resized = false;  // winWidth changed
    double winX = 0, winY = 0, winWidth = 0;
};

// Only with exactly the left and right buttons held and the bar floating:
// no modifier moves it by the cursor's movement, Shift alone widens it
// (never below 80 pixels). The caller then records the cursor position.
DragResult DragStep(int cursorX, int cursorY, int lastX, int lastY, const DragKeys& keys,
                    bool floating, double winX, double winY, double winWidth);

// The docked bar before the shell adjusts it: the monitor's full width at
// its top edge, or at its bottom edge one bar height (at the monitor's
// scale) above its bottom.
Rect DockedBounds(const Monitor& monitor, DockState dock);

}  // namespace vantrel
