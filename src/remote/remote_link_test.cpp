#include "remote/remote_link.h"

#include <gtest/gtest.h>

#include "platform/key_codes.h"
#include "remote/receive_buffer.h"
#include "remote_fixture.h"

namespace vantrel {
namespace {

using testing::FakeSocket;
using testing::kBanFile;
using testing::RemoteTest;
using Mode = FakeSocket::Mode;

// --- LISTEN, CONNECT, DISCONNECT ----------------------------------------

TEST_F(RemoteTest, ListenWithNoArgumentsServesAtOnceOnTheDefaultPort) {
    EXPECT_EQ(Run("listen"), "");
    EXPECT_EQ(socket.mode, Mode::kListening);
    EXPECT_EQ(socket.listeningPort, 2319);
    EXPECT_TRUE(link().listenOn);
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kServing);
    EXPECT_EQ(socket.TakeSent(), "C:\\Work>");
    EXPECT_EQ(fake.bar.prompt, "Serving 10.1.2.3");
    EXPECT_EQ(fake.bar.command, " (press F10 to kick or CTRL+F10 to ban)");
    EXPECT_TRUE(fake.bar.locked);
}

TEST_F(RemoteTest, ListenOffForms) {
    for (const char* line : {"listen off", "listen 0", "listen abc", "listen OFF secret"}) {
        Run("listen 2400 pw");
        int closes = socket.closeCount;
        EXPECT_EQ(Run(line), "") << line;
        EXPECT_FALSE(link().listenOn) << line;
        EXPECT_EQ(socket.mode, Mode::kIdle) << line;
        EXPECT_EQ(socket.closeCount, closes + 1) << line;
        EXPECT_EQ(link().listenPort, 2400) << line;
        EXPECT_EQ(link().listenPassword, "pw") << line;
    }
}

TEST_F(RemoteTest, ListenWithThreeArgumentsKeepsTheListener) {
    Run("listen 2400");
    EXPECT_EQ(Run("listen 2500 a b"), "Syntax: LISTEN [port|OFF [password]]");
    EXPECT_EQ(socket.listeningPort, 2400);
    EXPECT_EQ(socket.mode, Mode::kListening);
}

TEST_F(RemoteTest, AListenerThatCannotStartSaysWhy) {
    socket.listenError = "Only one usage of each socket address is normally permitted.";
    EXPECT_EQ(Run("listen 2400"), "Only one usage of each socket address is normally permitted.");
    EXPECT_EQ(socket.mode, Mode::kIdle);
    // Once the port is free again the same command listens.
    socket.listenError.clear();
    EXPECT_EQ(Run("listen 2400"), "");
    EXPECT_EQ(socket.mode, Mode::kListening);
}

TEST_F(RemoteTest, ListenRoundsThePort) {
    Run("listen 2400.5");
    EXPECT_EQ(socket.listeningPort, 2400);
    Run("listen 2401.5xyz");
    EXPECT_EQ(socket.listeningPort, 2402);
}

TEST_F(RemoteTest, ListenWhileServingTakesEffectWhenTheLinkEnds) {
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

TEST_F(RemoteTest, DisconnectOnAListenerListensAgain) {
    Run("listen 2400");
    int listens = socket.listenCount;
    EXPECT_EQ(Run("disconnect"), "");
    EXPECT_EQ(socket.listenCount, listens + 1);
    EXPECT_EQ(socket.mode, Mode::kListening);
    EXPECT_EQ(Run("disconnect now"), "Syntax: DISCONNECT");
}

TEST_F(RemoteTest, ConnectSyntax) {
    const char* kSyntax = "Syntax: CONNECT address[:port] [password]";
    for (const char* line :
         {"connect", "connect a b c", "connect host:0", "connect host:abc", "connect host:-5 pw"}) {
        EXPECT_EQ(Run(line), kSyntax) << line;
        EXPECT_EQ(state(), kLocal) << line;
        EXPECT_TRUE(socket.connects.empty()) << line;
    }
    EXPECT_EQ(link().connectPassword, "pw");
}

TEST_F(RemoteTest, ConnectUsesTheDefaultPortAndShowsProgress) {
    Run("listen 2400");
    EXPECT_EQ(Run("connect server.example"), "");
    EXPECT_EQ(state(), kConnecting);
    EXPECT_EQ(socket.connects, std::vector<std::string>{"server.example:2319"});
    EXPECT_EQ(socket.localPort, 0);
    EXPECT_EQ(fake.bar.prompt, "Connecting to server.example . . . ");
    EXPECT_EQ(fake.bar.command, " (press F10 to cancel)");
    EXPECT_TRUE(fake.bar.locked);
    EXPECT_TRUE(link().listenOn);
}

// --- the state table, row by row ----------------------------------------

TEST_F(RemoteTest, ConnectEventLinks) {
    Run("connect 10.0.0.9:2400");
    fake.bar.command = " (press F10 to cancel)";
    socket.Connected();
    EXPECT_EQ(state(), kRemoteLink);
    EXPECT_EQ(fake.bar.command, "");
    EXPECT_FALSE(fake.bar.locked);
    EXPECT_EQ(fake.bar.prompt, "10.0.0.9: ");
}

TEST_F(RemoteTest, ErrorWhileConnectingPrintsTheDescription) {
    Run("listen 2400");
    Run("connect 10.0.0.9");
    socket.events->OnError(10061, "Connection refused");
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(Printed(), "Connection refused");
    EXPECT_EQ(socket.mode, Mode::kListening);
    EXPECT_EQ(fake.bar.prompt, "C:\\Work>");
}

TEST_F(RemoteTest, F10AndCtrlF10CancelAConnection) {
    Run("connect 10.0.0.9");
    EXPECT_TRUE(link().KeyReleased(kVkF10, 0));
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(fake.bar.command, "");
    EXPECT_FALSE(fake.files.HasFile(kBanFile));
    Run("connect 10.0.0.9");
    EXPECT_TRUE(link().KeyReleased(kVkF10, kModCtrl));
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(fake.files.Contents(kBanFile), "10.0.0.9\r\n");
}

TEST_F(RemoteTest, PasswordPromptIsAnsweredOnceWithTheConnectPassword) {
    Run("connect 10.0.0.9:2400 secret");
    socket.Connected();
    socket.Receive("Password>");
    EXPECT_EQ(state(), kSending);
    EXPECT_EQ(socket.TakeSent(), "secret\r\n");
    EXPECT_EQ(link().connectPassword, "");
    socket.events->OnSendComplete();
    EXPECT_EQ(state(), kRemoteLink);
    // A second request leaves it to the user.
    socket.Receive("Password incorrect\r\nPassword>");
    EXPECT_EQ(state(), kRemotePassword);
    EXPECT_EQ(Printed(), "Password incorrect");
    EXPECT_EQ(fake.bar.prompt, "10.0.0.9: Password>");
    EXPECT_EQ(fake.bar.passwordChar, '*');
    EXPECT_EQ(socket.TakeSent(), "");
}

TEST_F(RemoteTest, TypedLinesGoToTheServer) {
    LinkTo("connect 10.0.0.9");
    EXPECT_EQ(fake.bar.prompt, "10.0.0.9: C:\\>");
    Type("dir *.txt ");
    EXPECT_EQ(state(), kSending);
    EXPECT_EQ(socket.TakeSent(), "dir *.txt \r\n");
    EXPECT_TRUE(fake.bar.locked);
    EXPECT_EQ(Printed(), "");  // nothing runs here
    socket.events->OnSendComplete();
    EXPECT_EQ(state(), kRemoteLink);
    EXPECT_EQ(fake.bar.command, "");
}

TEST_F(RemoteTest, TypedPasswordIsSentAndUnmasked) {
    LinkTo("connect 10.0.0.9", "Password>");
    EXPECT_EQ(state(), kRemotePassword);
    Type("Secret");
    EXPECT_EQ(socket.TakeSent(), "Secret\r\n");
    socket.events->OnSendComplete();
    EXPECT_EQ(state(), kRemoteLink);
    EXPECT_EQ(fake.bar.passwordChar, '\0');
}

TEST_F(RemoteTest, TypedDisconnectClosesAfterTheSend) {
    Run("listen 2400");
    LinkTo("connect 10.0.0.9");
    Type("  DisConnect ");
    EXPECT_EQ(state(), kDisconnecting);
    EXPECT_EQ(socket.TakeSent(), "  DisConnect \r\n");
    socket.events->OnSendComplete();
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
    EXPECT_EQ(fake.bar.command, "");
}

TEST_F(RemoteTest, CloseAndErrorInEveryLinkedStateReset) {
    for (ConsoleState linked : {kConnecting, kRemotePassword, kRemoteLink, kDisconnecting, kSending,
                                kAwaitingLogin, kServing}) {
        for (bool error : {false, true}) {
            Reach(linked);
            if (error) {
                socket.events->OnError(10054, "Connection reset");
            } else {
                socket.events->OnClose();
            }
            EXPECT_EQ(state(), kLocal) << linked;
            EXPECT_EQ(Printed(), error ? "Connection reset" : "") << linked;
        }
    }
}

TEST_F(RemoteTest, SendCompleteInOtherStatesDoesNothing) {
    for (ConsoleState s : {kLocal, kConnecting, kRemoteLink, kAwaitingLogin, kServing}) {
        Reach(s);
        fake.bar.command = "typed";
        socket.events->OnSendComplete();
        EXPECT_EQ(state(), s);
        EXPECT_EQ(fake.bar.command, "typed");
    }
}

TEST_F(RemoteTest, KnockWithAPasswordAsksForIt) {
    Run("listen 2319 secret");
    socket.Knock("10.1.2.3");
    EXPECT_EQ(state(), kAwaitingLogin);
    EXPECT_EQ(socket.accepted, std::vector<long>{7});
    EXPECT_EQ(socket.TakeSent(), "Password>");
    EXPECT_EQ(link().loginFailures, 0);
}

TEST_F(RemoteTest, RightPasswordServesAndSendsTheDirectoryPrompt) {
    ServeClient("secret");
    socket.Receive("secret\r\n");
    EXPECT_EQ(state(), kServing);
    EXPECT_EQ(socket.TakeSent(), "C:\\Work>");
}

TEST_F(RemoteTest, ServedLinesRunHereAndTheirOutputGoesBack) {
    ServeClient("");
    socket.Receive("print 6*7\r\n");
    EXPECT_EQ(socket.TakeSent(), "C:\\Work>");
    console.Tick();
    console.Tick();
    EXPECT_EQ(socket.TakeSent(), "\f\r\n42\r\n");
    EXPECT_FALSE(pane.open);
}

TEST_F(RemoteTest, DisconnectFromAServedClientClosesTheServerSide) {
    ServeClient("");
    socket.Receive("disconnect\r\n");
    EXPECT_EQ(state(), kLocal);
    EXPECT_EQ(socket.mode, Mode::kListening);
}

TEST_F(RemoteTest, ConnectFromAServedClientDropsItAndListensAfterwards) {
    ServeClient("");
    socket.Receive("connect 10.0.0.9:2500\r\n");
    EXPECT_EQ(state(), kConnecting);
    EXPECT_EQ(socket.connects, std::vector<std::string>{"10.0.0.9:2500"});
    socket.events->OnClose();
    EXPECT_EQ(socket.mode, Mode::kListening);
    EXPECT_EQ(socket.listeningPort, 2319);
}

TEST_F(RemoteTest, LinesInStatesThatDoNotTakeThemAreDropped) {
    for (ConsoleState s : {kLocal, kAccountPassword, kConnecting, kDisconnecting, kSending}) {
        Reach(s);
        socket.Receive("print 1\r\n");
        EXPECT_EQ(Printed(), "") << s;
        EXPECT_EQ(state(), s);
    }
}

// --- receiving on the client --------------------------------------------

TEST_F(RemoteTest, OutputThenPromptInOneChunk) {
    LinkTo("connect 10.0.0.9");
    socket.Receive("abc\r\nC:\\>");
    EXPECT_EQ(Printed(), "abc");
    EXPECT_EQ(link().RemotePrompt(), "C:\\>");
    EXPECT_EQ(link().receiveBuffer, "");
}

TEST_F(RemoteTest, PromptBeforeOutputInOneChunkIsOutput) {
    LinkTo("connect 10.0.0.9", "D:\\>");
    socket.Receive("C:\\>abc\r\n");
    EXPECT_EQ(Printed(), "C:\\>abc");
    EXPECT_EQ(link().RemotePrompt(), "D:\\>");
}

TEST_F(RemoteTest, APromptSplitAcrossChunksWaits) {
    LinkTo("connect 10.0.0.9");
    socket.Receive("out\r\nC:\\Wo");
    EXPECT_EQ(link().receiveBuffer, "C:\\Wo");
    socket.Receive("rk>");
    EXPECT_EQ(link().RemotePrompt(), "C:\\Work>");
    EXPECT_EQ(fake.bar.prompt, "10.0.0.9: C:\\Work>");
}

TEST_F(RemoteTest, BackspacesEditReceivedLines) {
    LinkTo("connect 10.0.0.9");
    socket.Receive("\bab\bc\r\n");
    EXPECT_EQ(Printed(), "ac");
}

TEST_F(RemoteTest, PromptsAreTakenOnlyInRemoteLink) {
    LinkTo("connect 10.0.0.9");
    Reach(kSending);
    socket.Receive("X:\\>");
    EXPECT_EQ(link().RemotePrompt(), "C:\\>");
    EXPECT_EQ(link().receiveBuffer, "X:\\>");
}

TEST_F(RemoteTest, RemotePromptSurvivesTheLink) {
    LinkTo("connect 10.0.0.9");
    Run("disconnect");
    Run("connect 10.0.0.8");
    socket.Connected();
    EXPECT_EQ(fake.bar.prompt, "10.0.0.8: C:\\>");
}

TEST_F(RemoteTest, AFloodWithoutLineEndsStaysBounded) {
    ServeClient("");
    for (int i = 0; i < 200; ++i) socket.Receive(std::string(4096, 'a'));
    EXPECT_LE(link().receiveBuffer.size(), kMaxLineLength);
    socket.Receive("\r\nprint 1+1\r\n");
    EXPECT_EQ(state(), kServing);
    console.Tick();
    console.Tick();
    EXPECT_NE(socket.TakeSent().find("\r\n2\r\n"), std::string::npos);
}

}  // namespace
}  // namespace vantrel

namespace vantrel {
namespace {

TEST_F(RemoteTest, TenThousandLinesInOneBurstComeBackInOrder) {
    ServeClient("");
    std::string burst;
    for (int i = 0; i < 10000; ++i) burst += "print \"k\" & " + std::to_string(i) + "\r\n";
    // The socket offers at most 64 KiB per event, as Winsock's does here.
    while (!burst.empty()) {
        size_t chunk = std::min<size_t>(burst.size(), 65536);
        socket.Receive(burst.substr(0, chunk));
        burst.erase(0, chunk);
        console.Tick();
    }
    console.Tick();
    std::string sent = socket.TakeSent();
    int expected = 0;
    for (size_t at = sent.find("\r\nk"); at != std::string::npos; at = sent.find("\r\nk", at + 3)) {
        ASSERT_EQ(std::stoi(sent.substr(at + 3)), expected);
        ++expected;
    }
    EXPECT_EQ(expected, 10000);
    EXPECT_EQ(state(), kServing);
}

TEST_F(RemoteTest, LinesLedByAmpersandKeepTheirOutputsForOneBlock) {
    ServeClient("");
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
}

}  // namespace
}  // namespace vantrel

namespace vantrel::testing {
namespace {

TEST_F(RemoteTest, APartialLineDoesNotReachTheNextClient) {
    ServeClient("");
    socket.Receive("del *");
    socket.events->OnClose();
    EXPECT_EQ(state(), kLocal);
    socket.Knock("10.9.9.9");
    socket.Receive("echo next\r\n");
    EXPECT_EQ(Printed(), "next");
}

}  // namespace
}  // namespace vantrel::testing
