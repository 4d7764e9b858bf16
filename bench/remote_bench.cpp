// Round-trip lines per second through two linked consoles on in-memory
// sockets: the client sends a line, the server runs it, its prompt and
// output travel back and the client splits them into output and prompt.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "benches.h"
#include "remote/noise_handshake.h"
#include "remote/remote_link.h"
#include "socket_console.h"

namespace {

using namespace vantrel;
using namespace vantrel::testing;

// Two linked consoles, encrypted or (the offer taken off the wire, as an
// older server would send none) in clear.
void Link(SocketConsole& server, SocketConsole& client, bool secure) {
    for (SocketConsole* side : {&server, &client}) {
        SeedLinkKey(side->fake);
    }
    client.console.In().SetVar("LinkClear", "1");
    server.console.In().RunCommand("listen 2319");
    server.socket.Knock("10.0.0.2");
    client.console.In().RunCommand("connect 10.0.0.1");
    client.socket.Connected();
    std::string first = server.socket.TakeSent();
    if (!secure) first.erase(0, std::string(kNoiseOffer).size() + 2);
    client.socket.Receive(first);
    // The handshake's three messages, then the prompt.
    for (int i = 0; i < 3; ++i) {
        server.socket.Receive(client.socket.TakeSent());
        client.socket.Receive(server.socket.TakeSent());
    }
}

void Measure(const char* label, const char* pattern, int lines, bool secure) {
    auto server = std::make_unique<SocketConsole>();
    auto client = std::make_unique<SocketConsole>();
    Link(*server, *client, secure);
    if (client->console.State() != kRemoteLink ||
        static_cast<RemoteLink*>(client->console.Remote())->Encrypted() != secure) {
        std::printf("%s: the link did not come up as asked\n", label);
        return;
    }

    auto start = std::chrono::steady_clock::now();
    char line[128];
    for (int i = 0; i < lines; ++i) {
        std::snprintf(line, sizeof line, pattern, i);
        client->fake.bar.command = line;
        client->console.EnterClicked();
        server->socket.Receive(client->socket.TakeSent());
        client->socket.events->OnSendComplete();
        client->socket.Receive(server->socket.TakeSent());  // the prompt
        server->console.Tick();
        client->socket.Receive(server->socket.TakeSent());  // the output
        client->console.In().PendingOutput().clear();
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %9.0f lines/s  (%d lines, %.3f s)\n", label, lines / seconds, lines,
                seconds);
}

// One Noise handshake of the link, both sides, as the two consoles run it.
void MeasureHandshake(int count) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        SocketConsole server, client;
        Link(server, client, true);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %9.2f ms each (both sides, with two consoles made; %d)\n", "handshake",
                1000 * seconds / count, count);
}

}  // namespace

// The handshake alone: three messages, both sides, and the split.
void MeasureNoiseHandshake(int count) {
    noise::KeyPair initiatorKey, responderKey;
    if (!noise::NewKeyPair(&initiatorKey) || !noise::NewKeyPair(&responderKey)) return;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        noise::HandshakeState initiator(true, {}, initiatorKey), responder(false, {}, responderKey);
        noise::Bytes message, payload;
        for (int step = 0; step < 3; ++step) {
            noise::HandshakeState& writer = step % 2 == 0 ? initiator : responder;
            noise::HandshakeState& reader = step % 2 == 0 ? responder : initiator;
            if (!writer.WriteMessage({}, &message) || !reader.ReadMessage(message, &payload))
                return;
        }
        noise::CipherState send, receive;
        initiator.Split(&send, &receive);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-34s %9.2f ms each (the protocol alone; %d)\n", "noise handshake",
                1000 * seconds / count, count);
}

void BenchRemoteLink() {
    for (bool secure : {false, true}) {
        std::printf("%s\n", secure ? "encrypted:" : "in clear:");
        Measure("round trip: print <n>*2", "print %d*2", 20000, secure);
        Measure("round trip: echo <n>", "echo line %d", 20000, secure);
    }
    MeasureHandshake(50);
    MeasureNoiseHandshake(200);
}
