// libFuzzer target over the remote console's receive path: arbitrary bytes,
// cut into chunks, arrive at a linked client and at a console that serves a
// client awaiting login. Nothing a peer sends may crash, hang or grow the
// buffer beyond its bound. Build with -DVANTREL_FUZZ=ON and clang.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "remote/receive_buffer.h"
#include "remote/remote_link.h"
#include "socket_console.h"

namespace {

using namespace vantrel;
using namespace vantrel::testing;

void Feed(ConsoleState state, const uint8_t* data, size_t size) {
    SocketConsole rig;
    Interpreter& in = rig.console.In();
    RemoteLink& link = *rig.console.Link();
    in.consoleState = state;
    link.listenPassword = "pw";
    link.connectPassword = "pw";
    size_t at = 0;
    while (at < size) {
        // The first byte of each chunk gives its length.
        size_t length = std::min<size_t>(data[at] + 1, size - at - 1);
        rig.socket.Receive(std::string(reinterpret_cast<const char*>(data) + at + 1, length));
        at += length + 1;
        if (link.receiveBuffer.size() > kMaxLineLength) __builtin_trap();
        rig.console.Tick();
        rig.socket.TakeSent();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Feed(kRemoteLink, data, size);
    Feed(kAwaitingLogin, data, size);
    return 0;
}
