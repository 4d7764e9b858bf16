// Synthesised input: keystrokes for the window that has the keyboard focus,
// the mouse cursor and its buttons, and the state of one key.
#pragma once

#include <string>
#include <vector>

namespace vantrel {

// One key press and release. Virtual-key codes use the Windows numbering
// (0x0D Enter, 0x24 Home, 0x70 F1, 0xA3 right Ctrl), which the portable
// parts of the console name as numbers.
struct KeyStroke {
    enum Kind { kVirtualKey, kCharacter };
    Kind kind = kCharacter;
    int code = 0;  // the virtual-key code, or the character's Unicode code point
    bool shift = false;
    bool ctrl = false;
    bool alt = false;

    bool operator==(const KeyStroke&) const = default;
};

enum class MouseButton { kLeft, kRight, kMiddle };

class Input {
  public:
    virtual ~Input() = default;

    // Queues the keystrokes and returns without waiting for them.
    virtual void SendKeys(const std::vector<KeyStroke>& keys) = 0;
    // False when the position cannot be read.
    virtual bool CursorPos(int* x, int* y) const = 0;
    virtual void SetCursorPos(int x, int y) = 0;
    // Button down then up at the cursor's position.
    virtual void Click(MouseButton button) = 0;
    // Whether the key is held down now.
    virtual bool KeyDown(int virtualKey) const = 0;
};

}  // namespace vantrel
