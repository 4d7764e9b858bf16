// The output pump: every timer tick moves PendingOutput into the output pane
// (unless a remote client is served: then the console sends it there). The text and
// geometry rules are plain functions so that they can be checked without
// windows; OutputPump applies them through the platform's pane.
#pragma once

#include <string>
#include <string_view>

#include "interpreter/console_state.h"
#include "platform/console_window.h"
#include "platform/output_pane.h"
#include "platform/screen_metrics.h"

namespace vantrel {

class Interpreter;
class RemoteLink;

// The pane height is a 16-bit quantity in twips: 145 lines is the most that
// fits, so more visible lines are not offered.
inline constexpr int kMaxVisiblePaneLines = 145;

// Characters per line for a text box of the given width in pixels: room for
// the scroll bar (150 twips) is taken off and a character is 120 twips wide,
// both at the metrics' scale. A line then holds at most one character less
// than this.
int PaneLineWidth(int boxWidthPixels, const ScreenMetrics& metrics);

// Inserts CR LF wherever a line reaches lineWidth characters. The text's very
// last character is never moved to a line of its own. Breaks are real text:
// they stay when the pane later becomes wider.
std::string BreakPaneLines(std::string_view text, int lineWidth);

// Number of lines: CR LF pairs + 1.
int CountPaneLines(std::string_view text);

// Removes the oldest lines until at most maxLines remain.
void KeepLastLines(std::string* text, int maxLines);

// A line-count setting as a limit: rounded to the nearest whole number
// (halves to even), at least 1.
int LineLimit(double setting);

// The pane next to the bar on the bar's monitor: below it when there is no
// room above on that monitor. Lines are the metrics' cell high.
Rect PaneBounds(const Rect& bar, int visibleLines, const Monitor& monitor);

struct PaneSettings {
    double maxMem = 60;   // OutputMaxMem
    double maxSize = 20;  // OutputMaxSize
    Colour textColour = 0;
    Colour bgColour = 0;
};

// What the pane shows once pending text (holding no form feed) is added to
// the text it shows now, next to the bar on the given monitor.
PaneView PlanPane(std::string_view shown, std::string_view pending, const Rect& bar,
                  const Monitor& monitor, const PaneSettings& settings);

// One tick of the pump into the pane; does nothing when nothing is pending.
// A tick that meets form feeds closes the pane and drops what was queued
// before the last of them; the text after it shows at the next tick.
void OutputPump(Interpreter& interpreter, const ConsoleWindow& window, OutputPane& pane);

// The timer's pump: while a client is served and logged in, the pending
// output goes to it whole, form feeds too (its own pump acts on them); a
// client at the password prompt gets nothing of it. Otherwise OutputPump.
void PumpOutput(Interpreter& interpreter, ConsoleState state, RemoteLink* link,
                const ConsoleWindow& window, OutputPane& pane);

}  // namespace vantrel
