// The text on the wire: the legacy code page (Windows-1252 in the fakes), one byte a character,
// whatever the console's own text is; converted at the socket both ways.
#include <gtest/gtest.h>

#include "remote/remote_link.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

// "café" as the console's text and on the wire, and "ā", which has no byte in Windows-1252.
const std::string kCafe = "caf\xC3\xA9", kCafeWire = "caf\xE9", kMacron = "\xC4\x81";

class WireTextTest : public RemoteTest {
  protected:
    // What the server sends back for a line from the client, output and prompts.
    std::string Answer(const std::string& line) {
        socket.Receive(line + "\r\n");
        console.Tick();
        console.Tick();
        return socket.TakeSent();
    }
};

// A client that knows nothing but Windows-1252 bytes: it logs in with a password of the console's
// text, runs a line and reads its output and the prompts in its own bytes, and question marks for
// what the wire cannot carry.
TEST_F(WireTextTest, ARawClientLogsInRunsALineAndReadsItsOwnBytes) {
    fake.files.AddFolder("C:\\" + kCafe);
    fake.files.current = "C:\\" + kCafe;
    Run("listen 2319 pass\xC3\xA9");
    socket.Knock("10.1.2.3");
    EXPECT_EQ(socket.TakeSent(), "Password>");
    socket.Receive("pass\xE9\r\n");
    ASSERT_EQ(state(), kServing);
    EXPECT_EQ(socket.TakeSent(), "C:\\" + kCafeWire + ">");
    const std::string sent = Answer("echo " + kCafeWire);
    EXPECT_NE(sent.find(kCafeWire + "\r\n"), std::string::npos) << sent;
    EXPECT_EQ(sent.find('\xC3'), std::string::npos) << sent;
    in().SetVar("a", kMacron + "b");
    in().SetVar("e", kCafe.substr(3));
    // clang-format off
    const struct { const char *line, *sent; } cases[] = {
        {"echo \x80 5", "\x80 5\r\n"}, {"echo `a`", "?b\r\n"}, {"echo `e`", "\xE9\r\n"}};
    // clang-format on
    for (const auto& c : cases) {
        const std::string answer = Answer(c.line);
        EXPECT_NE(answer.find(c.sent), std::string::npos) << c.line << ": " << answer;
    }
}

// The automatic password goes in the wire's bytes; then the server's bytes show as the client's
// own text, and the client's text goes out as bytes.
TEST_F(WireTextTest, AClientShowsAServersBytesAsItsOwnTextAndSendsItsOwnAsBytes) {
    Run("connect 10.0.0.9 pass\xC3\xA9");
    socket.Connected();
    socket.TakeSent();
    socket.Receive("Password>");
    EXPECT_EQ(socket.TakeSent(), "pass\xE9\r\n");
    socket.Receive("C:\\" + kCafeWire + ">");
    EXPECT_EQ(link().RemotePrompt(), "C:\\" + kCafe + ">");
    socket.Receive(kCafeWire + "\r\n\x80\r\n");
    EXPECT_EQ(Printed(), kCafe + "\n\xE2\x82\xAC");
    Type("echo " + kCafe + " " + kMacron);
    EXPECT_EQ(socket.TakeSent(), "echo " + kCafeWire + " ?\r\n");
    // A backspace takes back a character of the wire: one byte.
    socket.Receive(kCafeWire + "\by\r\n");
    EXPECT_EQ(Printed(), "cafy");
}

// Where the system keeps the legacy code page as the process's, the wire's bytes are the
// console's text already.
TEST_F(WireTextTest, ALegacyProcessPassesTheBytesAsTheyAre) {
    fake.codePages.processIsUtf8 = false;
    LinkTo("C:\\" + kCafeWire + ">");
    EXPECT_EQ(link().RemotePrompt(), "C:\\" + kCafeWire + ">");
    socket.Receive(kCafeWire + "\r\n");
    EXPECT_EQ(Printed(), kCafeWire);
    Type("echo " + kCafeWire);
    EXPECT_EQ(socket.TakeSent(), "echo " + kCafeWire + "\r\n");
}

}  // namespace
}  // namespace vantrel::testing
