// The keyboard conveniences: F1 to F12 type the keystroke texts of the
// variables F1 to F12, and the focus hotkey (FocusKey, polled at every tick)
// brings the console forward from any other program.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

class Interpreter;

// Modifier bits of a key release.
inline constexpr int kShiftBit = 1;
inline constexpr int kCtrlBit = 2;
inline constexpr int kAltBit = 4;

inline constexpr int kVkUp = 38;
inline constexpr int kVkDown = 40;
inline constexpr int kVkFirstFunctionKey = 112;  // F1
inline constexpr int kVkLastFunctionKey = 123;   // F12

// The variable a function-key release types from, "" when the key has no
// macro in this state: only F1 to F12, with no modifier, in the local state.
std::string FunctionKeyVariable(int state, int key, int modifiers);

// Types the macro of a released function key; true when the key was one.
bool TypeFunctionKey(Interpreter& in, int key, int modifiers);

// The virtual-key code of a FocusKey text: the hexadecimal digits at its
// start; 0 (never down) when there are none.
int FocusKeyCode(std::string_view text);

// One tick's check of the focus hotkey, for a visible bar: true when the
// key is down and the console should take the focus. Sends the Backspace of
// FocusKeyDel first.
bool FocusHotkeyPressed(Interpreter& in);

}  // namespace vantrel
