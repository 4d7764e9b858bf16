// A console on in-memory services with an in-memory socket attached, for
// tests of the remote link: the test plays the network through the socket.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "remote/remote_link.h"
#include "socket_console.h"
#include "text/compare.h"

namespace vantrel::testing {

inline constexpr char kBanFile[] = "C:\\ProgramData\\Orvane\\Vantrel\\Ban.txt";

class RemoteTest : public ::testing::Test, protected SocketConsole {
  protected:
    RemoteTest() { console.UpdatePrompt(); }

    Interpreter& in() { return console.In(); }
    RemoteLink& link() { return static_cast<RemoteLink&>(*console.Remote()); }
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
        std::string out = text::ReplaceAll(in().PendingOutput(), "\f\r\n", "");
        in().PendingOutput().clear();
        return text::ReplaceAll(text::ReplaceAll(out, "\f", ""), "\r\n", "\n");
    }
    // Types a line into the command box and presses Enter.
    void Type(const std::string& text) {
        fake.bar.command = text;
        console.EnterClicked();
    }

    // A console listening with a password, a client knocking from 10.1.2.3.
    void ServeClient(const std::string& password) {
        Run("listen 2319 " + password);
        socket.Knock("10.1.2.3");
        socket.TakeSent();
    }
    // A client console linked to 10.0.0.9, which sent its first prompt.
    // (One of an older version, which offers no encryption: LinkClear on.)
    void LinkTo(const std::string& prompt = "C:\\>") {
        in().SetVar("LinkClear", "1");
        Run("connect 10.0.0.9");
        socket.Connected();
        socket.Receive(prompt);
    }
    // Brings the console into state s the way its user and a peer would,
    // from whatever state it is in; forgets what that printed and sent.
    void Reach(ConsoleState s) {
        console.Remote()->Disconnect();
        if (s == kAccountPassword) Run("orid ann");
        if (s == kConnecting) Run("connect 10.0.0.9");
        if (s == kRemotePassword) LinkTo("Password>");
        if (s == kRemoteLink || s == kDisconnecting || s == kSending) LinkTo();
        if (s == kDisconnecting || s == kSending) Type(s == kSending ? "dir" : "disconnect");
        if (s == kAwaitingLogin || s == kServing) ServeClient(s == kServing ? "" : "pw");
        EXPECT_EQ(state(), s);
        Printed();
        socket.TakeSent();
    }
};

}  // namespace vantrel::testing
