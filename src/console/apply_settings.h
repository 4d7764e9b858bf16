// ApplySettings lays out and colours the bar after every command line and
// every change of ConsoleState: prompt box as wide as its text, command box
// taking the rest, the optional Enter button at the right end, the floating
// position, and the window order.
#pragma once

#include "interpreter/console_state.h"
#include "platform/console_window.h"
#include "platform/screen_metrics.h"

namespace vantrel {

class Interpreter;

// Whether the bar keeps its busy colours after a command line.
bool StaysBusy(ConsoleState state);

struct BarInputs {
    ConsoleState state = kLocal;
    bool enterButton = false;
    int promptLength = 0;  // character cells
    int barWidth = 0;      // pixels
};

// The controls' places for a bar of the given width on a screen of the
// metrics' scale.
BarLayout LayOutBar(const BarInputs& inputs, const ScreenMetrics& metrics);

// The floating bar's bounds from WinX, WinY and WinWidth (pixels), as high
// as the bar is at the metrics' scale.
Rect FloatingBounds(double winX, double winY, double winWidth, const ScreenMetrics& metrics);

// Where the floating bar goes: its bounds when they lie on a monitor, else
// the same size at the primary monitor's top-left corner (the monitor it
// was saved on is gone), each at the scale of the monitor it lands on.
Rect PlaceFloatingBar(double winX, double winY, double winWidth,
                      const std::vector<Monitor>& monitors);

// Moves a floating bar to its place, colours the boxes for the state, lays
// out the controls and sets the window order.
void ApplyBarSettings(Interpreter& interpreter, ConsoleWindow& window, DockState dock,
                      ConsoleState state);

}  // namespace vantrel
