#pragma once

#include <cstdint>

namespace vantrel {

// What the command box is for at the moment, and the state of the remote link.
// The console holds it and hands the link a reference. It lives beside
// ConsoleHost, below everything that reads it (the link, the line editor,
// the console), so that none of them reaches up or sideways for it.
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

}  // namespace vantrel
