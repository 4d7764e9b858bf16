// libFuzzer target over the remote console's receive path: arbitrary bytes,
// cut into chunks, arrive at a linked client and at a console that serves a
// client awaiting login, while time passes. Nothing a peer sends may crash,
// hang or grow the buffer beyond its bound, and until the client has logged
// in it is sent nothing but the login's own texts. Build with
// -DVANTREL_FUZZ=ON and clang.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "remote/receive_buffer.h"
#include "remote/remote_link.h"
#include "socket_console.h"
#include "text/compare.h"

namespace {

using namespace vantrel;
using namespace vantrel::testing;

constexpr char kLocalText[] = "local output of the console";

const std::string kOfferLine = std::string(kNoiseOffer) + "\r\n";

// What a client at the password prompt may be sent in clear: the offer of
// encryption, prompts and the login's replies, nothing else.
bool OnlyLoginTexts(std::string sent) {
    sent = text::ReplaceAll(text::ReplaceAll(sent, "Password>", ""), "Password incorrect\r\n", "");
    return text::ReplaceAll(sent, kOfferLine, "").empty();
}

void Feed(bool serving, const uint8_t* data, size_t size) {
    SocketConsole rig;
    Interpreter& in = rig.console.In();
    if (serving) {
        in.RunCommand("listen 2319 pw");
        rig.socket.Knock("10.1.2.3");
    } else {
        in.RunCommand("connect 10.0.0.9 pw");
        rig.socket.Connected();
    }
    RemoteLink& link = static_cast<RemoteLink&>(*rig.console.Remote());
    // A client whose first line is the switch is sent Noise messages from
    // then on, never text in clear.
    std::string received;
    size_t at = 0;
    while (at < size) {
        // The first byte of each chunk gives its length, and as many
        // seconds pass before it arrives.
        rig.fake.clock.milliseconds += data[at] * 1000ull;
        size_t length = std::min<size_t>(data[at] + 1, size - at - 1);
        const bool awaitingLogin = rig.console.State() == kAwaitingLogin;
        if (awaitingLogin) in.PrintOut(kLocalText);
        const std::string chunk(reinterpret_cast<const char*>(data) + at + 1, length);
        if (received.size() < kOfferLine.size()) received += chunk;
        rig.socket.Receive(chunk);
        at += length + 1;
        if (link.receiveBuffer.size() > kMaxLineLength) __builtin_trap();
        rig.console.Tick();
        const std::string sent = rig.socket.TakeSent();
        const bool switched = received.starts_with(kOfferLine);
        if (awaitingLogin && !switched && rig.console.State() == kAwaitingLogin &&
            !OnlyLoginTexts(sent)) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Feed(false, data, size);
    Feed(true, data, size);
    return 0;
}
