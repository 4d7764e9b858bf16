// Round-trip lines per second through two linked consoles on in-memory
// sockets: the client sends a line, the server runs it, its prompt and
// output travel back and the client splits them into output and prompt.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "benches.h"
#include "remote/remote_link.h"
#include "socket_console.h"

namespace {

using namespace vantrel;
using namespace vantrel::testing;

void Measure(const char* label, const char* pattern, int lines) {
    auto server = std::make_unique<SocketConsole>();
    auto client = std::make_unique<SocketConsole>();
    server->console.In().RunCommand("listen 2319");
    server->socket.Knock("10.0.0.2");
    client->console.In().RunCommand("connect 10.0.0.1");
    client->socket.Connected();
    client->socket.Receive(server->socket.TakeSent());

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

}  // namespace

void BenchRemoteLink() {
    Measure("round trip: print <n>*2", "print %d*2", 20000);
    Measure("round trip: echo <n>", "echo line %d", 20000);
}
