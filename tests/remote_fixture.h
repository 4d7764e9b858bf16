// A console on in-memory services with an in-memory socket attached, for
// tests of the remote link: the test plays the network through the socket.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "remote/remote_link.h"
#include "socket_console.h"

namespace vantrel::testing {

inline constexpr char kBanFile[] = "C:\\ProgramData\\Orvane\\Vantrel\\Ban.txt";

class RemoteTest : public ::testing::Test, protected SocketConsole {
  protected:
    RemoteTest() { console.UpdatePrompt(); }

    Interpreter& in() { return console.In(); }
    RemoteLink& link() { return *console.Link(); }
    ConsoleState state() { return console.State(); }

    // Runs a typed command line; returns what it printed, without the
    // automatic clear request, lines joined by "\n".
    std::string Run(const std::string& line) {
        in().PendingOutput().clear();
        in().RunCommand(line);
        return Printed();
    }
    // PendingOutput as lines joined by "\n", form feeds left out; empties it.
    std::string Printed() {
        std::string out, &pending = in().PendingOutput();
        for (size_t i = 0; i < pending.size(); ++i) {
            if (pending[i] == '\f') {
                if (pending.compare(i + 1, 2, "\r\n") == 0) i += 2;
            } else if (pending.compare(i, 2, "\r\n") == 0) {
                out += '\n';
                ++i;
            } else {
                out += pending[i];
            }
        }
        pending.clear();
        return out;
    }
    // Types a line into the command box and presses Enter.
    void Type(const std::string& text) {
        fake.bar.command = text;
        console.EnterClicked();
    }

    // A console listening with a password, a client knocking from address.
    void ServeClient(const std::string& password, const std::string& address = "10.1.2.3") {
        Run("listen 2319 " + password);
        socket.Knock(address);
        socket.TakeSent();
    }
    // A client console linked to a server that sent its first prompt.
    void LinkTo(const std::string& connectLine, const std::string& prompt = "C:\\>") {
        Run(connectLine);
        socket.Connected();
        socket.Receive(prompt);
    }
    // Brings the console into state s the way its user and a peer would,
    // from whatever state it is in; forgets what that printed and sent.
    void Reach(ConsoleState s) {
        console.Disconnect();
        switch (s) {
            case kLocal:
                break;
            case kAccountPassword:
                Run("orid ann");
                break;
            case kConnecting:
                Run("connect 10.0.0.9");
                break;
            case kRemotePassword:
                LinkTo("connect 10.0.0.9", "Password>");
                break;
            case kRemoteLink:
                LinkTo("connect 10.0.0.9");
                break;
            case kDisconnecting:
            case kSending:
                LinkTo("connect 10.0.0.9");
                Type(s == kSending ? "dir" : "disconnect");
                break;
            case kAwaitingLogin:
            case kServing:
                ServeClient(s == kServing ? "" : "pw");
                break;
        }
        EXPECT_EQ(state(), s);
        Printed();
        socket.TakeSent();
    }
};

}  // namespace vantrel::testing
