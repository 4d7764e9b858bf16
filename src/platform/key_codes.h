// Key codes in the Windows virtual-key numbering, which the window system
// reports and the input service sends, and the modifier bits that go with a
// key event. The portable parts of the console name keys only through these.
#pragma once

namespace vantrel {

inline constexpr int kVkCancel = 0x03;  // Ctrl+Break
inline constexpr int kVkBack = 0x08;
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkMenu = 0x12;  // Alt
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkEnd = 0x23;
inline constexpr int kVkHome = 0x24;
inline constexpr int kVkLeft = 0x25;
inline constexpr int kVkUp = 0x26;
inline constexpr int kVkRight = 0x27;
inline constexpr int kVkDown = 0x28;
inline constexpr int kVkDelete = 0x2E;
inline constexpr int kVkF1 = 0x70;
inline constexpr int kVkF10 = 0x79;
inline constexpr int kVkF12 = 0x7B;
// A character an input method or an on-screen keyboard types: no key of
// the keyboard, only the character that follows.
inline constexpr int kVkProcessKey = 0xE5;
inline constexpr int kVkPacket = 0xE7;

// Shift, Ctrl, Alt and the Windows keys, either one of a pair or both: keys
// that only change what the next key means.
constexpr bool IsModifierKey(int key) {
    return (key >= kVkShift && key <= kVkMenu) || (key >= 0xA0 && key <= 0xA5) || key == 0x5B ||
           key == 0x5C;
}

// The modifier keys held during a key event.
inline constexpr int kModShift = 1;
inline constexpr int kModCtrl = 2;
inline constexpr int kModAlt = 4;
// Only in a key chord: a Windows key.
inline constexpr int kModWin = 8;

// A key with the modifiers held for it, as a system-wide hotkey names it.
// No key (0) is no chord.
struct KeyChord {
    int key = 0;
    int modifiers = 0;

    bool operator==(const KeyChord&) const = default;
};

}  // namespace vantrel
