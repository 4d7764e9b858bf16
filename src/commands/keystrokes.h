// The keystroke notation of SENDKEYS and the function-key macros: plain
// characters type themselves; "+", "^" and "%" hold Shift, Ctrl and Alt for
// the next key or for a group in parentheses; "~" is Enter; names in braces
// are special keys ({ENTER}, {HOME}, {F5}, {BS}), optionally with a repeat
// count ({LEFT 3}); a special character in braces is typed as itself ({{},
// {+}, {~}).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/input.h"

namespace vantrel {

// Virtual-key codes the console itself names.
inline constexpr int kVkBack = 0x08;
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkHome = 0x24;
inline constexpr int kVkEnd = 0x23;
inline constexpr int kVkF1 = 0x70;

// False, with a description, for text that is not valid notation; nothing
// is then sent at all.
bool ParseKeystrokes(std::string_view text, std::vector<KeyStroke>* keys, std::string* err);

}  // namespace vantrel
