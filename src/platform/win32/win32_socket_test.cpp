#include "platform/win32/win32_socket.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_error.h"

namespace vantrel::win32 {
namespace {

using Log = std::vector<std::string>;

// Records the events of one socket and accepts every request. (Requests
// held while a line runs, and refused, the end-to-end tests of the remote
// console see.)
struct Recorder : SocketEvents {
    explicit Recorder(Win32Socket& s) : socket(s) { socket.SetEvents(this); }
    void OnConnectionRequest(long id) override {
        log.push_back("request");
        socket.Close();
        address = socket.RemoteHostIP();
        socket.Accept(id, nullptr);
    }
    void OnConnect() override { log.push_back("connect"); }
    void OnDataArrival(std::size_t bytes) override { received += socket.GetData(bytes); }
    void OnSendComplete() override { log.push_back("sent"); }
    void OnClose() override { log.push_back("close"); }
    void OnError(int, const std::string& text) override { log.push_back("error " + text); }
    bool Has(const std::string& event) const {
        return std::find(log.begin(), log.end(), event) != log.end();
    }

    Win32Socket& socket;
    Log log;
    std::string received, address;
};

// Pumps the thread's messages until done() or the deadline (milliseconds).
bool PumpUntil(const std::function<bool()>& done, DWORD deadline = 5000) {
    const Win32Clock clock;
    for (const std::uint64_t start = clock.Milliseconds();
         clock.Milliseconds() - start < deadline;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (done()) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

// A name server may take its time: lookups get a generous deadline.
constexpr DWORD kLookupDeadline = 30000;

class Win32SocketTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string err;
        ASSERT_TRUE(server.Create(GetModuleHandleA(nullptr), &err)) << err;
        ASSERT_TRUE(client.Create(GetModuleHandleA(nullptr), &err)) << err;
        server.SetLocalPort(port);
        ASSERT_TRUE(server.Listen(ListenScope::kEveryAddress, &err)) << err;
    }
    void Link(const std::string& host = "127.0.0.1") {
        std::string err;
        ASSERT_TRUE(client.Connect(host, port, &err)) << err;
        // The answer comes through the message loop, never inside Connect.
        EXPECT_EQ(c.log, Log{});
        ASSERT_TRUE(
            PumpUntil([&] { return c.Has("connect") && s.Has("request"); }, kLookupDeadline))
            << (c.log.empty() ? "" : c.log[0]);
    }

    long port = 23190 + static_cast<long>(GetCurrentProcessId() % 500);
    Win32Socket server, client;
    Recorder s{server}, c{client};
};

TEST_F(Win32SocketTest, BytesTravelBothWaysWholeAndACloseComesAfterTheLastOfThem) {
    std::string err;
    EXPECT_FALSE(client.SendData("x", &err));  // no link yet
    EXPECT_EQ(err, ErrorText(WSAENOTCONN));
    Link();
    EXPECT_EQ(s.address, "127.0.0.1");
    EXPECT_EQ(client.RemoteHostIP(), "127.0.0.1");
    // Far more than one read or one send takes: the rest waits for FD_WRITE.
    const std::string big(3 << 20, 'z');
    ASSERT_TRUE(server.SendData(std::string("C:\\>\x80\xff\0x", 8), &err));
    ASSERT_TRUE(server.SendData(big, &err));
    ASSERT_TRUE(client.SendData("bye\r\n", &err));
    ASSERT_TRUE(PumpUntil([&] {
        return c.received.size() == 8 + big.size() && c.Has("sent") &&
               std::count(s.log.begin(), s.log.end(), "sent") == 2;
    }));
    EXPECT_EQ(c.received, std::string("C:\\>\x80\xff\0x", 8) + big);
    client.Close();
    ASSERT_TRUE(PumpUntil([&] { return s.Has("close"); }));
    EXPECT_EQ(s.received, "bye\r\n");
}

// The loopback scope takes an IPv6 client too. (The other pairs of scope
// and address link in the end-to-end tests of the remote console.)
TEST_F(Win32SocketTest, TheLoopbackScopeTakesAnIPv6Client) {
    std::string err;
    ASSERT_TRUE(server.Listen(ListenScope::kThisComputer, &err)) << err;
    Link("::1");
    EXPECT_EQ(s.address, "::1");
    EXPECT_EQ(client.RemoteHostIP(), "::1");
}

// Wine lacks the texts of some socket errors: the console carries its own.
TEST_F(Win32SocketTest, FailuresComeWithTheirDescriptions) {
    Win32Socket other;
    std::string err;
    ASSERT_TRUE(other.Create(GetModuleHandleA(nullptr), &err)) << err;
    other.SetLocalPort(port);
    EXPECT_FALSE(other.Listen(ListenScope::kEveryAddress, &err));
    EXPECT_NE(err.find("Only one usage of each socket address"), std::string::npos) << err;
    server.Close();
    ASSERT_TRUE(client.Connect("127.0.0.1", port, &err));
    ASSERT_TRUE(PumpUntil([&] { return !c.log.empty(); }));
    ASSERT_EQ(c.log.size(), 1u);
    EXPECT_NE(c.log[0].find("refused"), std::string::npos) << c.log[0];
}

// A name that is not found is reported through the message loop, and the
// socket is free for the next connection; closing during a lookup gives no
// event at all.
TEST_F(Win32SocketTest, NamesAreLookedUpThroughTheMessageLoop) {
    std::string err;
    ASSERT_TRUE(client.Connect("no-such-host.invalid", port, &err)) << err;
    EXPECT_EQ(c.log, Log{});
    ASSERT_TRUE(PumpUntil([&] { return !c.log.empty(); }, kLookupDeadline));
    EXPECT_EQ(c.log, Log{"error " + ErrorText(WSAHOST_NOT_FOUND)});
    c.log.clear();
    Link("localhost");
    EXPECT_EQ(client.RemoteHostIP(), "127.0.0.1");
    EXPECT_EQ(client.LookupsInFlight(), 0u);
    for (const char* host : {"localhost", "no-such-host.invalid"}) {
        c.log.clear();
        s.log.clear();
        ASSERT_TRUE(server.Listen(ListenScope::kEveryAddress, &err)) << err;
        ASSERT_TRUE(client.Connect(host, port, &err)) << err;
        client.Close();
        EXPECT_EQ(client.RemoteHostIP(), "") << host;
        // A new connection at once: the abandoned lookup's answer, which
        // Wine sends all the same (Windows never does), must not touch it.
        Link();
        PumpUntil([&] { return client.LookupsInFlight() == 0; }, kLookupDeadline);
        PumpUntil([] { return true; });  // whatever that answer posted
        EXPECT_EQ(c.log, Log{"connect"}) << host;
        EXPECT_EQ(s.log, Log{"request"}) << host;
    }
}

}  // namespace
}  // namespace vantrel::win32
