#pragma once

#include "platform/input.h"

namespace vantrel::win32 {

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
