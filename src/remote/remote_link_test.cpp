#include "remote/remote_link.h"

#include <gtest/gtest.h>

#include "remote/receive_buffer.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

using Mode = FakeSocket::Mode;

// A listener that cannot start says why, and once the port is free the same command listens.
TEST_F(RemoteTest, ListenTakesARoundedPortOrTurnsListeningOffAndOnlyAPasswordOpensIt) {
    // clang-format off
    const struct { const char* line; long port; } cases[] = {  // port 0: not listening
        {"listen", 2319}, {"listen 2400.5", 2400}, {"listen 2401.5xyz", 2402}, {"listen off", 0},
        {"listen 0", 0}, {"listen abc", 0}, {"listen OFF secret", 0}, {"listen 2600 pw", 2600}};
    // clang-format on
    for (const auto& c : cases) {
        Run("listen 2500 pw");
        const bool open = std::string(c.line).find(" pw") != std::string::npos;
        const std::string thisComputerOnly =
            "Listening on port " + std::to_string(c.port) +
            " for this computer only; give a password to accept other computers";
        EXPECT_EQ(Run(c.line), c.port && !open ? thisComputerOnly : "") << c.line;
        EXPECT_EQ(socket.mode, c.port ? Mode::kListening : Mode::kIdle) << c.line;
        EXPECT_EQ(c.port ? socket.listeningPort : 0, c.port) << c.line;
        if (c.port) {
            EXPECT_EQ(socket.scope, open ? ListenScope::kEveryAddress : ListenScope::kThisComputer)
                << c.line;
        }
    }
    Run("listen off");
    socket.listenError = "Only one usage of each socket address is normally permitted.";
    EXPECT_EQ(Run("listen 2400 pw"), socket.listenError);
    EXPECT_EQ(socket.mode, Mode::kIdle);
    socket.listenError.clear();
    EXPECT_EQ(Run("listen 2400 pw"), "");
    EXPECT_EQ(socket.mode, Mode::kListening);
    // LISTEN from a served client takes effect when the link ends.
    ServeClient("");
    socket.Receive("listen 2000 newpw\r\n");
    EXPECT_EQ(state(), kServing);
    EXPECT_EQ(socket.mode, Mode::kConnected);
    socket.events->OnClose();
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.listeningPort, 2000);
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kAwaitingLogin);
}

// Misused link commands keep the listener. A client connects from no port of its own (not the
// listener's); the last remote prompt shows until the next server sends its own.
TEST_F(RemoteTest, MisusedLinkCommandsKeepTheListenerAndConnectTakesAPortAndIPv6Addresses) {
    const char* connect = "Syntax: CONNECT address[:port] [password]";
    // clang-format off
    const struct { const char *line, *printed; } misused[] = {
        {"listen 2500 a b", "Syntax: LISTEN [port|OFF [password]]"},
        {"disconnect now", "Syntax: DISCONNECT"}, {"connect", connect}, {"connect \"\"", connect},
        {"connect a b c", connect}, {"connect host:0", connect}, {"connect host:abc", connect},
        {"connect host:-5 pw", connect}, {"connect [::1", connect}, {"connect [::1]2400", connect},
        {"connect [::1]:0", connect}};
    const char* connects[][2] = {
        {"server.example", "server.example:2319"}, {"10.0.0.8:2400", "10.0.0.8:2400"},
        {"server:2401.6", "server:2402"}, {"[::1]:2500", "::1:2500"}, {"[::1]", "::1:2319"},
        {"::1", "::1:2319"}, {"2001:db8::7", "2001:db8::7:2319"},
        {"[2001:db8::7]:80", "2001:db8::7:80"}};
    // clang-format on
    Run("listen 2400");
    for (const auto& c : misused) {
        EXPECT_EQ(Run(c.line), c.printed) << c.line;
        EXPECT_EQ(state(), kLocal) << c.line;
        EXPECT_EQ(socket.mode, Mode::kListening) << c.line;
        EXPECT_EQ(socket.listeningPort, 2400) << c.line;
        EXPECT_TRUE(socket.connects.empty()) << c.line;
    }
    for (const auto& c : connects) {
        socket.connects.clear();
        EXPECT_EQ(Run(std::string("connect ") + c[0]), "") << c[0];
        EXPECT_EQ(socket.connects, std::vector<std::string>{c[1]}) << c[0];
        EXPECT_EQ(socket.localPort, 0) << c[0];
    }
    socket.Connected();
    EXPECT_EQ(fake.bar.prompt, "2001:db8::7: ");
    socket.Receive("C:\\>");
    Run("disconnect");
    Run("connect 10.0.0.8");
    socket.Connected();
    EXPECT_EQ(fake.bar.prompt, "10.0.0.8: C:\\>");
}

// The state table, row by row: what an event does in each state.
enum class Event { kTyped, kReceived, kSendComplete };

TEST_F(RemoteTest, StateTable) {
    using enum Event;
    const char* linked = "10.0.0.9: C:\\>";
    const char* asked = "10.0.0.9: Password>";
    const char* connecting = "Connecting to 10.0.0.9 . . . ";
    const char* serving = "Serving 10.1.2.3";
    const char* hint = " (press F10 to kick or CTRL+F10 to ban)";
    const char* local = "C:\\Work>";
    const char* typed = "typed";
    // text is what is typed or received, sent what goes to the peer (nothing unless a row says),
    // printed what shows here; the box holds "typed" before every event but typing.
    // clang-format off
    const struct {
        ConsoleState from; Event event; const char* text; ConsoleState to;
        const char *prompt, *command, *sent = "", *printed = "";
    } rows[] = {
        // A client sends typed lines; a typed DISCONNECT closes once it is sent.
        {kRemoteLink, kTyped, "dir *.txt ", kSending, linked, "dir *.txt ", "dir *.txt \r\n"},
        {kSending, kSendComplete, "", kRemoteLink, linked, ""},
        {kRemotePassword, kTyped, "Secret", kSending, asked, "Secret", "Secret\r\n"},
        {kRemoteLink, kTyped, "  DisConnect ", kDisconnecting, linked, "  DisConnect ",
         "  DisConnect \r\n"},
        {kDisconnecting, kSendComplete, "", kLocal, local, ""},
        // A client prints lines and takes what follows the last one, ending in ">", for the
        // server's prompt; a password request without a CONNECT password is left to the user.
        {kRemoteLink, kReceived, "abc\r\nD:\\>", kRemoteLink, "10.0.0.9: D:\\>", typed, "", "abc"},
        {kRemoteLink, kReceived, "D:\\>abc\r\n", kRemoteLink, linked, typed, "", "D:\\>abc"},
        {kRemoteLink, kReceived, "Password>", kRemotePassword, asked, typed},
        // A served client's lines run here.
        {kAwaitingLogin, kReceived, "pw\r\n", kServing, serving, hint, local},
        {kServing, kReceived, "disconnect\r\n", kLocal, local, ""},
        {kServing, kReceived, "connect 10.0.0.9\r\n", kConnecting, connecting,
         " (press F10 to cancel)"},
        // An account password is taken; what a state does not take changes nothing.
        {kAccountPassword, kTyped, "pass", kLocal, local, ""},
        {kServing, kTyped, "echo no", kServing, serving, "echo no"},
        {kLocal, kSendComplete, "", kLocal, local, typed},
        {kConnecting, kSendComplete, "", kConnecting, connecting, typed},
        {kRemoteLink, kSendComplete, "", kRemoteLink, linked, typed},
        {kAwaitingLogin, kSendComplete, "", kAwaitingLogin, serving, typed},
        {kServing, kSendComplete, "", kServing, serving, typed},
        {kLocal, kReceived, "print 1\r\n", kLocal, local, typed},
        {kAccountPassword, kReceived, "print 1\r\n", kAccountPassword, "ann password>", typed},
        {kConnecting, kReceived, "print 1\r\n", kConnecting, connecting, typed},
        {kDisconnecting, kReceived, "print 1\r\n", kDisconnecting, linked, typed},
        // What arrives while a sent line waits for the socket's word that it went is the peer's
        // answer to it: the send is taken as done.
        {kSending, kReceived, "print 1\r\n", kRemoteLink, linked, "", "", "print 1"},
        {kSending, kReceived, "E:\\>", kRemoteLink, "10.0.0.9: E:\\>", ""}};
    // clang-format on
    for (const auto& row : rows) {
        Reach(row.from);
        fake.bar.command = typed;
        if (row.event == kTyped) Type(row.text);
        if (row.event == kReceived) socket.Receive(row.text);
        if (row.event == kSendComplete) socket.events->OnSendComplete();
        std::string where = std::to_string(row.from) + " " + row.text;
        EXPECT_EQ(state(), row.to) << where;
        EXPECT_EQ(socket.TakeSent(), row.sent) << where;
        EXPECT_EQ(Printed(), row.printed) << where;
        EXPECT_EQ(fake.bar.prompt, row.prompt) << where;
        EXPECT_EQ(fake.bar.command, row.command) << where;
    }
}

// The server's prompt may come before the word that the password went; a second request leaves
// it to the user, and the prompt after that is no password. A prompt split across chunks waits,
// and is taken only while linked.
TEST_F(RemoteTest, PasswordPromptIsAnsweredOnceWithTheConnectPasswordAndPromptsWait) {
    Run("connect 10.0.0.9:2400 secret");
    EXPECT_EQ(socket.connects, std::vector<std::string>{"10.0.0.9:2400"});
    socket.Connected();
    socket.Receive("Password>");
    EXPECT_EQ(state(), kSending);
    EXPECT_EQ(socket.TakeSent(), "secret\r\n");
    socket.Receive("D:\\>");
    EXPECT_EQ(state(), kRemoteLink);
    EXPECT_EQ(fake.bar.prompt, "10.0.0.9: D:\\>");
    socket.events->OnSendComplete();
    EXPECT_EQ(state(), kRemoteLink);
    socket.Receive("Password incorrect\r\nPassword>");
    EXPECT_EQ(state(), kRemotePassword);
    EXPECT_EQ(Printed(), "Password incorrect");
    EXPECT_EQ(fake.bar.passwordChar, '*');
    EXPECT_EQ(socket.TakeSent(), "");
    Type("Secret");
    socket.events->OnSendComplete();
    EXPECT_EQ(fake.bar.passwordChar, '\0');
    Reach(kRemoteLink);
    socket.Receive("out\r\nD:\\Wo");
    EXPECT_EQ(link().receiveBuffer, "D:\\Wo");
    socket.Receive("rk>");
    EXPECT_EQ(fake.bar.prompt, "10.0.0.9: D:\\Work>");
    Reach(kConnecting);
    const std::string before = link().RemotePrompt();
    socket.Receive("E:\\>");
    EXPECT_EQ(link().receiveBuffer, "E:\\>");
    EXPECT_EQ(link().RemotePrompt(), before);
}

TEST_F(RemoteTest, CloseAndErrorInEveryLinkedStateResetAndListenAgain) {
    Run("listen 2400");
    for (ConsoleState linked : {kConnecting, kRemotePassword, kRemoteLink, kDisconnecting, kSending,
                                kAwaitingLogin, kServing}) {
        for (bool error : {false, true}) {
            Reach(linked);
            error ? socket.events->OnError(10061, "Connection refused") : socket.events->OnClose();
            EXPECT_EQ(state(), kLocal) << linked;
            EXPECT_EQ(Printed(), error ? "Connection refused" : "") << linked;
            EXPECT_EQ(socket.mode, Mode::kListening) << linked;
            EXPECT_EQ(fake.bar.prompt, "C:\\Work>") << linked;
            EXPECT_EQ(fake.bar.command, "") << linked;
            EXPECT_FALSE(fake.bar.locked) << linked;
        }
    }
}

// Form feeds go back too, so that the client's pump acts; lines led by "&" keep their outputs
// for one block; ten thousand lines in one burst come back in order; a flood without line ends
// stays bounded, and a partial line does not reach the next client.
TEST_F(RemoteTest, ServedLinesRunHereAndTheirOutputGoesBackInOrderWhateverTheTraffic) {
    ServeClient("");
    socket.Receive("print 6*7\r\n");
    EXPECT_EQ(socket.TakeSent(), "C:\\Work>");
    console.Tick();
    console.Tick();
    EXPECT_EQ(socket.TakeSent(), "\f\r\n42\r\n");
    EXPECT_FALSE(pane.open);
    std::string burst, expected;
    for (int i = 0; i < 100; ++i) {
        burst += "&print \"k\" & " + std::to_string(i) + "\r\n";
        expected += (i ? "\r\nk" : "k") + std::to_string(i);
    }
    socket.Receive(burst);
    socket.TakeSent();  // the prompts
    console.Tick();
    EXPECT_EQ(socket.TakeSent(), expected + "\r\n");
    console.Tick();
    EXPECT_EQ(socket.TakeSent(), "");
    burst.clear();
    for (int i = 0; i < 10000; ++i) burst += "print \"k\" & " + std::to_string(i) + "\r\n";
    // The socket offers at most 64 KiB per event, as Winsock's does here.
    for (size_t at = 0; at < burst.size(); at += 65536) {
        socket.Receive(burst.substr(at, 65536));
        console.Tick();
    }
    console.Tick();
    const std::string sent = socket.TakeSent();
    int next = 0;
    for (size_t at = sent.find("\r\nk"); at != std::string::npos; at = sent.find("\r\nk", at + 3)) {
        ASSERT_EQ(std::stoi(sent.substr(at + 3)), next++);
    }
    EXPECT_EQ(next, 10000);
    EXPECT_EQ(state(), kServing);
    for (int i = 0; i < 200; ++i) socket.Receive(std::string(4096, 'a'));
    EXPECT_LE(link().receiveBuffer.size(), kMaxLineLength);
    socket.Receive("\r\nprint 1+1\r\n");
    EXPECT_EQ(state(), kServing);
    console.Tick();
    console.Tick();
    EXPECT_NE(socket.TakeSent().find("\r\n2\r\n"), std::string::npos);
    socket.Receive("del *");
    socket.events->OnClose();
    socket.Knock("10.9.9.9");
    socket.Receive("echo next\r\n");
    EXPECT_EQ(Printed(), "next");
}

}  // namespace
}  // namespace vantrel::testing
