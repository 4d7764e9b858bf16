// Key codes in the Windows virtual-key numbering, which the window system
// reports and the input service sends, and the modifier bits that go with a
// key event. The portable parts of the console name keys only through these.
#pragma once

namespace vantrel {

inline constexpr int kVkCancel = 0x03;  // Ctrl+Break
inline constexpr int kVkBack = 0x08;
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkEscape = 0x1B;
inline constexpr int kVkEnd = 0x23;
inline constexpr int kVkHome = 0x24;
inline constexpr int kVkUp = 0x26;
inline constexpr int kVkDown = 0x28;
inline constexpr int kVkF1 = 0x70;
inline constexpr int kVkF10 = 0x79;
inline constexpr int kVkF12 = 0x7B;

// The modifier keys held during a key event.
inline constexpr int kModShift = 1;
inline constexpr int kModCtrl = 2;
inline constexpr int kModAlt = 4;

}  // namespace vantrel
