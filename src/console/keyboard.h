// The keyboard conveniences: F1 to F12 type the keystroke texts of the
// variables F1 to F12, and the focus hotkey (FocusKey, polled at every tick)
// brings the console forward from any other program.
#pragma once

#include <string>
#include <string_view>

#include "interpreter/console_state.h"

namespace vantrel {

class Interpreter;

// The variable a function key types from as it goes down, "" when the key
// has no macro in this state: only F1 to F12, with no modifier held as it
// went down, in the local state.
std::string FunctionKeyVariable(ConsoleState state, int key, int modifiers);

// Types the macro of a function key going down; true when the key was one.
bool TypeFunctionKey(Interpreter& in, ConsoleState state, int key, int modifiers);

// The virtual-key code of a FocusKey text: the hexadecimal digits at its
// start; 0 (never down) when there are none.
int FocusKeyCode(std::string_view text);

// The focus hotkey, polled at every tick. A press counts once, as the key
// goes down: held, it would otherwise activate the bar again at every tick,
// and FocusKeyDel's Backspace would erase the command box's own text.
class FocusHotkey {
  public:
    // True at the first poll that finds the key FocusKey names down after
    // one that did not.
    bool WentDown(Interpreter& in);

  private:
    bool down_ = false;
};

// FocusKeyDel's Backspace, when it is on, for the window in front.
void SendFocusKeyBackspace(Interpreter& in);

}  // namespace vantrel
