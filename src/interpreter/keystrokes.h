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
#include "platform/key_codes.h"

namespace vantrel {

// False, with a description, for text that is not valid notation; nothing
// is then sent at all.
bool ParseKeystrokes(std::string_view text, std::vector<KeyStroke>* keys, std::string* err);

// A key chord written as modifier names and a key joined by "+" ("Ctrl+Alt+K",
// "Win+`", "Shift+F12"), letter case and blanks around the names ignored:
// the modifiers Ctrl (Control), Alt, Shift and Win; the key a letter, a
// digit, a punctuation key of the US layout (` - = [ ] \ ; ' , . /) or a
// name of the notation (Space, F1 to F16, Home, ...). "" is no chord. False,
// with a description, for anything else.
bool ParseKeyChord(std::string_view text, KeyChord* chord, std::string* err);

}  // namespace vantrel
