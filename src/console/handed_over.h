// What second starts of the program hand over to the running console: a
// line to run as if typed, or a path Explorer opens. They wait here, in
// order, until the console may run them: no line runs, and the command box
// takes a line (never a password prompt's, never while a client is served).
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "interpreter/command_line.h"
#include "interpreter/console_state.h"
#include "interpreter/dispatch.h"
#include "platform/bar_window.h"
#include "platform/hand_over.h"

namespace vantrel {

class Interpreter;

// The switch that Explorer's verbs give the program: what follows it is a
// path, taken literally.
inline constexpr char kOpenSwitch[] = "/open";

struct HandedOver {
    enum Kind { kLine, kOpen };
    Kind kind = kLine;
    std::string text;  // the line, or the path without its quotes
};

// Reads a start argument: "/open PATH" (PATH in quotes or to the end),
// anything else a command line.
HandedOver ReadStartArgument(const std::string& argument);

class HandedOverQueue {
  public:
    // Starts come from a person's clicks: more than this waiting means a
    // runaway script, whose further lines are refused rather than kept.
    static constexpr std::size_t kMaxWaiting = 16;

    // False, and nothing kept, when the queue is full, or the item is too
    // long, more than one line, or a path that is empty; or when a line that
    // ends the console waits already: what came after it would never run.
    // endsConsole: the item is such a line.
    bool Add(HandedOver item, bool endsConsole = false);
    // The next item when one waits and the console in state may run it.
    std::optional<HandedOver> TakeRunnable(ConsoleState state);

  private:
    std::deque<HandedOver> waiting_;
    // The last item waiting ends the console (none is taken after it).
    bool ending_ = false;
};

// Whether a command of the line (split at the separator as the interpreter
// splits it) is EXIT: once it runs, nothing after it does.
bool EndsConsole(std::string_view line, const LineMarkers& markers, const CommandTable& table);

// Opens a path Explorer handed over, as one outermost line: a folder
// becomes the current drive and folder, anything else is opened as a
// target (a .dcb runs as a batch file). The path is never expanded. The
// line shows as CDD "folder" or "file" in the box and the echo.
void OpenFromShell(Interpreter& in, const std::string& path);

// The command box's text and caret, put back after a handed-over line ran
// once the console is back in the state it was in.
struct HalfTyped {
    std::string text;
    int caret = 0;
    ConsoleState state = kLocal;
};

// What to do with half-typed text now: nullopt while the state is passing
// (a send, a connect), true to put it back, false to drop it (the box was
// given something else, or the console moved on to another state).
std::optional<bool> RestoreHalfTyped(const HalfTyped& saved, ConsoleState state,
                                     const BarWindow& bar);

}  // namespace vantrel
