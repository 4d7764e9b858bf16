#include "platform/win32/win32_socket.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vantrel::win32 {
namespace {

// Records the events of one socket; a request is accepted when asked to.
struct Recorder : SocketEvents {
    explicit Recorder(Win32Socket& s) : socket(s) { socket.SetEvents(this); }
    void OnConnectionRequest(long id) override {
        log.push_back("request");
        if (accept) {
            std::string err;
            socket.Close();
            address = socket.RemoteHostIP();
            socket.Accept(id, &err);
        }
    }
    void OnConnect() override { log.push_back("connect"); }
    void OnDataArrival(std::size_t bytes) override { received += socket.GetData(bytes); }
    void OnSendComplete() override { log.push_back("sent"); }
    void OnClose() override { log.push_back("close"); }
    void OnError(int, const std::string& text) override { log.push_back("error " + text); }
    bool Has(const std::string& event) const {
        for (const std::string& e : log) {
            if (e == event) return true;
        }
        return false;
    }

    Win32Socket& socket;
    bool accept = true;
    std::vector<std::string> log;
    std::string received, address;
};

// Pumps the thread's messages until done() or about five seconds.
bool PumpUntil(const std::function<bool()>& done) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (done()) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

class Win32SocketTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string err;
        ASSERT_TRUE(server.Create(GetModuleHandleA(nullptr), &err)) << err;
        ASSERT_TRUE(client.Create(GetModuleHandleA(nullptr), &err)) << err;
        server.SetLocalPort(port);
        ASSERT_TRUE(server.Listen(&err)) << err;
    }
    void Link() {
        std::string err;
        ASSERT_TRUE(client.Connect("127.0.0.1", port, &err)) << err;
        ASSERT_TRUE(PumpUntil([&] { return c.Has("connect") && s.Has("request"); }));
    }

    long port = 23190 + static_cast<long>(GetCurrentProcessId() % 500);
    Win32Socket server, client;
    Recorder s{server}, c{client};
};

TEST_F(Win32SocketTest, TextTravelsBothWaysAndEachSendCompletes) {
    Link();
    EXPECT_EQ(s.address, "127.0.0.1");
    EXPECT_EQ(client.RemoteHostIP(), "127.0.0.1");
    std::string err;
    ASSERT_TRUE(client.SendData("print 1\r\n", &err));
    ASSERT_TRUE(server.SendData("C:\\>", &err));
    ASSERT_TRUE(server.SendData(std::string("\x80\xff\0x", 4), &err));
    ASSERT_TRUE(PumpUntil([&] { return s.received.size() == 9 && c.received.size() == 8; }));
    EXPECT_EQ(s.received, "print 1\r\n");
    EXPECT_EQ(c.received, std::string("C:\\>\x80\xff\0x", 8));
    EXPECT_TRUE(PumpUntil([&] { return std::count(s.log.begin(), s.log.end(), "sent") == 2; }));
}

TEST_F(Win32SocketTest, ALargeSendArrivesWhole) {
    Link();
    std::string big(3 << 20, 'z');
    std::string err;
    ASSERT_TRUE(server.SendData(big, &err));
    ASSERT_TRUE(PumpUntil([&] { return c.received.size() == big.size(); }));
    EXPECT_TRUE(PumpUntil([&] { return s.Has("sent"); }));
}

TEST_F(Win32SocketTest, PeerCloseIsReportedAfterItsLastData) {
    Link();
    std::string err;
    client.SendData("bye\r\n", &err);
    ASSERT_TRUE(PumpUntil([&] { return c.Has("sent"); }));
    client.Close();
    ASSERT_TRUE(PumpUntil([&] { return s.Has("close"); }));
    EXPECT_EQ(s.received, "bye\r\n");
}

TEST_F(Win32SocketTest, ARefusedRequestIsClosedAndListeningCanResume) {
    s.accept = false;
    Link();
    ASSERT_TRUE(PumpUntil([&] { return c.Has("close") || c.log.size() > 1; }));
    std::string err;
    server.SetLocalPort(port);
    EXPECT_TRUE(server.Listen(&err)) << err;
}

TEST_F(Win32SocketTest, ConnectingToNobodyIsAnError) {
    server.Close();
    std::string err;
    ASSERT_TRUE(client.Connect("127.0.0.1", port, &err));
    ASSERT_TRUE(PumpUntil([&] { return !c.log.empty(); }));
    // A description, not a bare number.
    EXPECT_EQ(c.log[0].rfind("error ", 0), 0u) << c.log[0];
    EXPECT_EQ(c.log[0].find("Error 1"), std::string::npos) << c.log[0];
}

TEST_F(Win32SocketTest, ListeningOnATakenPortFailsWithItsDescription) {
    Win32Socket other;
    std::string err;
    ASSERT_TRUE(other.Create(GetModuleHandleA(nullptr), &err)) << err;
    other.SetLocalPort(port);
    EXPECT_FALSE(other.Listen(&err));
    EXPECT_NE(err.find("Only one usage of each socket address"), std::string::npos) << err;
}

TEST_F(Win32SocketTest, SendingWithoutALinkFails) {
    std::string err;
    EXPECT_FALSE(client.SendData("x", &err));
    EXPECT_FALSE(err.empty());
}

}  // namespace
}  // namespace vantrel::win32
