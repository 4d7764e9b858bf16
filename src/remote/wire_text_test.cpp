// The text on the wire: the legacy code page (Windows-1252 in the fakes),
// one byte a character, whatever the console's own text is; converted at
// the socket both ways.
#include <gtest/gtest.h>

#include "remote/remote_link.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

// "café", "passé" and "€ ā" as the console's text and on the wire; "ā" has
// no byte in Windows-1252.
constexpr char kCafe[] = "caf\xC3\xA9";
constexpr char kCafeWire[] = "caf\xE9";

using WireTextTest = RemoteTest;

// A client that knows nothing but Windows-1252 bytes: it logs in with a
// password of the console's text, runs a line and reads its output and
// the prompts in its own bytes.
TEST_F(WireTextTest, ARawClientLogsInRunsALineAndReadsItsOwnBytes) {
    fake.files.AddFolder(std::string("C:\\") + kCafe);
    fake.files.current = std::string("C:\\") + kCafe;
    Run("listen 2319 pass\xC3\xA9");
    socket.Knock("10.1.2.3");
    EXPECT_EQ(socket.TakeSent(), "Password>");
    socket.Receive("pass\xE9\r\n");
    ASSERT_EQ(state(), kServing);
    EXPECT_EQ(socket.TakeSent(), std::string("C:\\") + kCafeWire + ">");
    socket.Receive(std::string("echo ") + kCafeWire + "\r\n");
    console.Tick();
    console.Tick();
    const std::string sent = socket.TakeSent();
    EXPECT_NE(sent.find(std::string(kCafeWire) + "\r\n"), std::string::npos) << sent;
    EXPECT_EQ(sent.find('\xC3'), std::string::npos) << sent;
}

TEST_F(WireTextTest, TheServerSendsQuestionMarksForWhatTheWireCannotCarry) {
    struct Case {
        const char* line;  // as the client sends it
        const char* sent;  // what it reads back
    } cases[] = {
        {"echo \x80 5", "\x80 5\r\n"},
        {"echo `a`", "?b\r\n"},
        {"echo `e`", "\xE9\r\n"},
    };
    in().SetVar("a",
                "\xC4\x81"
                "b");
    in().SetVar("e", "\xC3\xA9");
    ServeClient("");
    for (const Case& c : cases) {
        socket.TakeSent();
        socket.Receive(std::string(c.line) + "\r\n");
        console.Tick();
        console.Tick();
        const std::string sent = socket.TakeSent();
        EXPECT_NE(sent.find(c.sent), std::string::npos) << c.line << ": " << sent;
    }
}

TEST_F(WireTextTest, AClientShowsAServersBytesAsItsOwnTextAndSendsItsOwnAsBytes) {
    LinkTo(std::string("C:\\") + kCafeWire + ">");
    EXPECT_EQ(link().RemotePrompt(), std::string("C:\\") + kCafe + ">");
    socket.Receive(std::string(kCafeWire) + "\r\n\x80\r\n");
    EXPECT_EQ(Printed(), std::string(kCafe) + "\n\xE2\x82\xAC");
    Type(std::string("echo ") + kCafe + " \xC4\x81");
    EXPECT_EQ(socket.TakeSent(), std::string("echo ") + kCafeWire + " ?\r\n");
    // A backspace takes back a character of the wire: one byte.
    socket.Receive(std::string(kCafeWire) + "\by\r\n");
    EXPECT_EQ(Printed(), "cafy");
}

TEST_F(WireTextTest, TheAutomaticPasswordGoesInTheWiresBytes) {
    Run("connect 10.0.0.9 pass\xC3\xA9");
    socket.Connected();
    socket.TakeSent();
    socket.Receive("Password>");
    EXPECT_EQ(socket.TakeSent(), "pass\xE9\r\n");
}

// Where the system keeps the legacy code page as the process's, the wire's
// bytes are the console's text already.
TEST_F(WireTextTest, ALegacyProcessPassesTheBytesAsTheyAre) {
    fake.codePages.processIsUtf8 = false;
    LinkTo(std::string("C:\\") + kCafeWire + ">");
    EXPECT_EQ(link().RemotePrompt(), std::string("C:\\") + kCafeWire + ">");
    socket.Receive(std::string(kCafeWire) + "\r\n");
    EXPECT_EQ(Printed(), kCafeWire);
    Type(std::string("echo ") + kCafeWire);
    EXPECT_EQ(socket.TakeSent(), std::string("echo ") + kCafeWire + "\r\n");
}

}  // namespace
}  // namespace vantrel::testing
