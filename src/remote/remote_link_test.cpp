// The conversations of the link are testdata/*.talk; here only the traffic no talk could write
// out: bursts of thousands of lines and a flood without line ends.
#include "remote/remote_link.h"

#include <gtest/gtest.h>

#include "remote/receive_buffer.h"
#include "remote_fixture.h"

namespace vantrel::testing {
namespace {

// Lines led by "&" keep their outputs for one block; ten thousand lines in one burst come back in
// order; a flood without line ends stays bounded.
TEST_F(RemoteTest, ServedLinesComeBackInOrderWhateverTheTraffic) {
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
}

}  // namespace
}  // namespace vantrel::testing
