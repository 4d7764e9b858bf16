#include "platform/win32/win32_socket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_error.h"

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

// Pumps the thread's messages until done() or the deadline (milliseconds).
bool PumpUntil(const std::function<bool()>& done, DWORD deadline = 5000) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < deadline;) {
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

// A name server may take its time: lookups get a generous deadline.
constexpr DWORD kLookupDeadline = 30000;

TEST_F(Win32SocketTest, AHostNameIsLookedUpAndLinks) {
    std::string err;
    ASSERT_TRUE(client.Connect("localhost", port, &err)) << err;
    // The answer comes through the message loop, never inside Connect.
    EXPECT_TRUE(c.log.empty());
    ASSERT_TRUE(PumpUntil([&] { return c.Has("connect") && s.Has("request"); }, kLookupDeadline))
        << (c.log.empty() ? "" : c.log[0]);
    EXPECT_EQ(client.RemoteHostIP(), "127.0.0.1");
    EXPECT_EQ(client.LookupsInFlight(), 0u);
    ASSERT_TRUE(client.SendData("hi\r\n", &err));
    ASSERT_TRUE(PumpUntil([&] { return s.received == "hi\r\n"; }));
}

TEST_F(Win32SocketTest, AnUnknownHostIsAnErrorEvent) {
    std::string err;
    ASSERT_TRUE(client.Connect("no-such-host.invalid", port, &err)) << err;
    EXPECT_TRUE(c.log.empty());
    ASSERT_TRUE(PumpUntil([&] { return !c.log.empty(); }, kLookupDeadline));
    EXPECT_EQ(c.log, std::vector<std::string>{"error " + ErrorText(WSAHOST_NOT_FOUND)});
    EXPECT_FALSE(s.Has("request"));
    // The socket is free for the next connection.
    Link();
}

TEST_F(Win32SocketTest, ClosingDuringALookupGivesNoEvent) {
    std::string err;
    ASSERT_TRUE(client.Connect("localhost", port, &err)) << err;
    client.Close();
    EXPECT_EQ(client.RemoteHostIP(), "");
    // A new connection at once: the abandoned lookup's answer, should the
    // system send one all the same, must not touch it.
    Link();
    PumpUntil([&] { return client.LookupsInFlight() == 0; }, kLookupDeadline);
    PumpUntil([] { return true; });  // whatever that answer posted
    EXPECT_EQ(c.log, std::vector<std::string>{"connect"});
    EXPECT_EQ(s.log, std::vector<std::string>{"request"});
}

TEST_F(Win32SocketTest, ClosingDuringALookupOfAnUnknownHostGivesNoEvent) {
    std::string err;
    ASSERT_TRUE(client.Connect("no-such-host.invalid", port, &err)) << err;
    client.Close();
    // Windows never answers a cancelled lookup; Wine answers all the same.
    PumpUntil([&] { return client.LookupsInFlight() == 0; }, kLookupDeadline);
    PumpUntil([] { return true; });
    EXPECT_TRUE(c.log.empty()) << c.log[0];
}

TEST_F(Win32SocketTest, SendingWithoutALinkFails) {
    std::string err;
    EXPECT_FALSE(client.SendData("x", &err));
    EXPECT_FALSE(err.empty());
}

}  // namespace
}  // namespace vantrel::win32
