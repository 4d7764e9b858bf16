#pragma once

#include <vector>

#include "platform/input.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// The key events SendKeys sends for the keystrokes, in order: for each, its
// modifiers down, the key down and up, the modifiers up. A character not on
// the keyboard layout is sent as that character itself.
std::vector<INPUT> KeyEvents(const std::vector<KeyStroke>& keys);

// Keystrokes and mouse clicks through SendInput, queued for the window that
// has the focus; the cursor through GetCursorPos and SetCursorPos.
class Win32Input : public Input {
  public:
    void SendKeys(const std::vector<KeyStroke>& keys) override;
    bool CursorPos(int* x, int* y) const override;
    void SetCursorPos(int x, int y) override;
    void Click(MouseButton button) override;
    bool KeyDown(int virtualKey) const override;
};

}  // namespace vantrel::win32
