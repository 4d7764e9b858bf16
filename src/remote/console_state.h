#pragma once

#include <cstdint>

namespace vantrel {

// What the command box is for at the moment, and the state of the remote link.
// The console holds it and hands the link a reference; it lives beside the
// link, which most of its states are about, so the link needs nothing of the
// console above it.
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

// The prompt a server sends while it awaits a client's password; a client
// that sees it answers with the password it was given, if any.
inline constexpr char kPasswordPrompt[] = "Password>";

}  // namespace vantrel
