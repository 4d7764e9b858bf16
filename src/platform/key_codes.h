// Key codes in the Windows virtual-key numbering, which the window system
// reports and the input service sends, and the modifier bits that go with a
// key event. The portable parts of the console name keys only through these.
#pragma once

#include <cstdint>

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
inline constexpr int kVkF1 = 0x70;
inline constexpr int kVkF10 = 0x79;
inline constexpr int kVkF12 = 0x7B;

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

// A key event held back while a line runs is let through after it with a
// mark in bits 25 to 28 of its flags (the key message's lParam), which the
// system leaves unused: one bit says the key is replayed (and was turned
// into its characters when it was typed), three keep the modifiers held
// then. Those, not the ones held at replay, are the key's.
inline constexpr std::uint32_t kReplayedKey = 1u << 27;
inline constexpr std::uint32_t kReplayedShift = 1u << 25;
inline constexpr std::uint32_t kReplayedCtrl = 1u << 26;
inline constexpr std::uint32_t kReplayedAlt = 1u << 28;
inline constexpr std::uint32_t kReplayMark =
    kReplayedKey | kReplayedShift | kReplayedCtrl | kReplayedAlt;

// The flags with the mark of a replayed key typed with modifiers; a key
// marked already keeps the modifiers it was first typed with.
constexpr std::uint32_t MarkReplayed(std::uint32_t flags, int modifiers) {
    if (flags & kReplayedKey) return flags;
    return (flags & ~kReplayMark) | kReplayedKey | ((modifiers & kModShift) ? kReplayedShift : 0) |
           ((modifiers & kModCtrl) ? kReplayedCtrl : 0) |
           ((modifiers & kModAlt) ? kReplayedAlt : 0);
}

constexpr bool IsReplayed(std::uint32_t flags) {
    return (flags & kReplayedKey) != 0;
}

// The modifiers a replayed key was typed with; -1 for a key typed now.
constexpr int ReplayedModifiers(std::uint32_t flags) {
    if (!IsReplayed(flags)) return -1;
    return ((flags & kReplayedShift) ? kModShift : 0) | ((flags & kReplayedCtrl) ? kModCtrl : 0) |
           ((flags & kReplayedAlt) ? kModAlt : 0);
}

// The flags as the system made them, for the controls that read them.
constexpr std::uint32_t WithoutReplayMark(std::uint32_t flags) {
    return flags & ~kReplayMark;
}

}  // namespace vantrel
