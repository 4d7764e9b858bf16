#include "console/keyboard.h"

#include <vector>

#include "interpreter/interpreter.h"
#include "interpreter/keystrokes.h"
#include "interpreter/settings.h"
#include "text/hex.h"

namespace vantrel {

namespace {

// Only the first few digits count: no virtual-key code is longer.
constexpr size_t kMaxFocusKeyDigits = 8;

// Sends a keystroke text; text that is not valid notation sends nothing.
void TypeKeys(Interpreter& in, const std::string& text) {
    std::vector<KeyStroke> keys;
    std::string err;
    if (!text.empty() && ParseKeystrokes(text, &keys, &err)) in.Os().input.SendKeys(keys);
}

}  // namespace

std::string FunctionKeyVariable(ConsoleState state, int key, int modifiers) {
    if (state != kLocal || modifiers != 0) return std::string();
    if (key < kVkF1 || key > kVkF12) return std::string();
    std::string name = "F";
    name += std::to_string(key - kVkF1 + 1);
    return name;
}

bool TypeFunctionKey(Interpreter& in, ConsoleState state, int key, int modifiers) {
    std::string name = FunctionKeyVariable(state, key, modifiers);
    if (name.empty()) return false;
    TypeKeys(in, in.SettingText(name));
    return true;
}

int FocusKeyCode(std::string_view text) {
    return static_cast<int>(text::LeadingHex(text, kMaxFocusKeyDigits));
}

bool FocusHotkey::WentDown(Interpreter& in) {
    const int code = FocusKeyCode(in.SettingText(settings::kFocusKey));
    const bool wasDown = down_;
    down_ = code != 0 && in.Os().input.KeyDown(code);
    return down_ && !wasDown;
}

void SendFocusKeyBackspace(Interpreter& in) {
    if (in.SettingOn(settings::kFocusKeyDel)) TypeKeys(in, "{BS}");
}

}  // namespace vantrel
