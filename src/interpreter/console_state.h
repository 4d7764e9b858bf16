#pragma once

#include <cstdint>

namespace vantrel {

// What the command box is for at the moment, and the state of the remote link.
enum ConsoleState : std::int16_t {
    kLocal = 0,
    kAccountPassword = 1,
    kConnecting = 2,
    kRemotePassword = 3,
    kRemoteLink = 4,
    kDisconnecting = 5,
    kSending = 6,
    kAwaitingLogin = 7,
    kServing = 8,
};

// Where the bar sits: docked at the top or bottom edge, or floating at
// WinX, WinY with width WinWidth. Every start begins docked at the top.
enum DockState : int { kDockedTop = 0, kDockedBottom = 1, kFloating = 2 };

}  // namespace vantrel
