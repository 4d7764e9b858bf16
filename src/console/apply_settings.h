// ApplySettings lays out and colours the bar after every command line and
// every change of ConsoleState: prompt box as wide as its text, command box
// taking the rest, the optional Enter button at the right end, the floating
// position, and the window order.
#pragma once

#include "console/console_state.h"
#include "platform/console_window.h"

namespace vantrel {

class Interpreter;

inline constexpr int kBarHeightPixels = 17;         // 255 twips
inline constexpr int kEnterButtonWidthPixels = 53;  // 795 twips
inline constexpr int kMinFloatingWidthPixels = 80;

// Whether the bar keeps its busy colours after a command line.
bool StaysBusy(ConsoleState state);

struct BarInputs {
    ConsoleState state = kLocal;
    bool enterButton = false;
    int promptLength = 0;  // characters
    int barWidth = 0;      // pixels
};

// The controls' places for a bar of the given width.
BarLayout LayOutBar(const BarInputs& inputs);

// The floating bar's bounds from WinX, WinY and WinWidth (pixels).
Rect FloatingBounds(double winX, double winY, double winWidth);

// Moves a floating bar to its place, colours the boxes for the state, lays
// out the controls and sets the window order.
void ApplyBarSettings(Interpreter& interpreter, ConsoleWindow& window, DockState dock,
                      ConsoleState state);

}  // namespace vantrel
