// The console's TCP socket on Winsock, IPv4 and IPv6. WSAAsyncSelect turns
// network events, and WSAAsyncGetHostByName the answers of host-name
// lookups, into messages of a message-only window, so they arrive on the one
// user-interface thread through the ordinary message loop; no threads of our
// own. A name with no IPv4 address is looked up again for IPv6 with
// GetAddrInfoExW, whose answer a wait of the system's thread pool posts.
#pragma once

// winsock2.h before anything that could bring in the old winsock.h.
// clang-format off
#include <winsock2.h>
#include "platform/win32/win32_api.h"
// clang-format on

#include <ws2tcpip.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/socket.h"
#include "platform/win32/unique_handle.h"

namespace vantrel::win32 {

class Win32Socket : public Socket {
  public:
    static constexpr UINT kSocketMessage = WM_APP + 20;
    static constexpr UINT kDeferredMessage = WM_APP + 21;
    static constexpr UINT kLookupMessage = WM_APP + 22;
    static constexpr UINT kIPv6LookupMessage = WM_APP + 23;
    // More unsent output than this means the peer does not read: the link
    // fails rather than the console's memory.
    static constexpr std::size_t kMaxUnsent = 16u << 20;
    // One DataArrival offers at most this much; Winsock announces the rest.
    static constexpr std::size_t kMaxRead = 64u << 10;

    Win32Socket() = default;
    ~Win32Socket() override;
    Win32Socket(const Win32Socket&) = delete;
    Win32Socket& operator=(const Win32Socket&) = delete;

    // Starts Winsock and makes the window that receives its events.
    bool Create(HINSTANCE instance, std::string* err);

    void SetEvents(SocketEvents* events) override { events_ = events; }
    void Close() override;
    void SetLocalPort(long port) override { localPort_ = port; }
    // Listens on IPv4 and, where the system has it, on IPv6.
    bool Listen(ListenScope scope, std::string* err) override;
    bool Accept(long requestId, std::string* err) override;
    bool Connect(const std::string& host, long port, std::string* err) override;
    bool SendData(const std::string& text, std::string* err) override;
    std::string GetData(std::size_t maxBytes) override;
    std::string RemoteHostIP() const override;
    long RemotePort() const override;

    // Host-name lookups whose answer has not come yet, abandoned ones
    // included.
    std::size_t LookupsInFlight() const { return lookups_.size() + ipv6Lookups_.size(); }

    // An IPv6 lookup under way: the system writes its answer into result and
    // signals the overlapped event; a pool wait on it posts the message.
    struct IPv6Lookup {
        OVERLAPPED overlapped{};
        ADDRINFOEXW* result = nullptr;
        HANDLE wait = nullptr;
        HWND window = nullptr;
        unsigned generation = 0;
    };

  private:
    enum class Role { kIdle, kListening, kConnecting, kConnected };
    enum class Kind { kSendComplete, kError };
    // An event raised inside an operation waits for the message loop, so
    // that no handler runs inside another one.
    struct Deferred {
        unsigned generation;
        Kind kind;
        int code;
    };
    // A host-name lookup under way; the system writes its answer into
    // buffer before it posts kLookupMessage.
    struct Lookup {
        HANDLE task;
        unsigned generation;
        std::unique_ptr<char[]> buffer;
        std::string host;
    };

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnSocketMessage(SOCKET s, WORD event, WORD error);
    void OnAccept(SOCKET listener);
    void OnRead();
    void OnPeerClosed(WORD error);
    void OnDeferred();
    void OnLookup(HANDLE task, int error);
    bool LookUpIPv6(const std::string& host);
    void OnIPv6Lookup(IPv6Lookup* answered);
    void ConnectTo(sockaddr* address, int size);
    void Defer(Kind kind, int code = 0);
    void Flush();
    UniqueSocket NewSocket(int family, long events) const;
    UniqueSocket NewListener(int family, ListenScope scope) const;
    std::size_t Available() const;
    void Raise(int code);

    // Declared in the order they are needed, so that they go in the
    // reverse one: the sockets, then their window, then Winsock.
    UniqueWinsock winsock_;
    UniqueWindow window_;
    // The one socket of role_: listening, connecting or connected; while
    // listening, listener6_ takes the IPv6 clients.
    UniqueSocket socket_;
    UniqueSocket listener6_;
    // A knocking client, taken at once and kept while its request runs.
    UniqueSocket request_;
    SocketEvents* events_ = nullptr;
    Role role_ = Role::kIdle;
    long localPort_ = 0;
    long connectPort_ = 0;
    std::string peer_;
    std::string requestPeer_;
    long peerPort_ = 0;
    long requestPeerPort_ = 0;
    long requestId_ = 0;
    // Unsent bytes from head_ on; each send ends at a running byte count.
    std::string unsent_;
    std::size_t head_ = 0;
    std::uint64_t queued_ = 0, sent_ = 0;
    std::deque<std::uint64_t> sendEnds_;
    // Bumped by Close: events of an earlier connection are dropped.
    unsigned generation_ = 0;
    std::deque<Deferred> deferred_;
    // A lookup leaves once its answer has come, a cancelled one too (Wine
    // writes that answer all the same). Buffers still here when the socket
    // goes are handed to the process, to be kept to its end.
    std::deque<Lookup> lookups_;
    std::vector<std::unique_ptr<IPv6Lookup>> ipv6Lookups_;
};

}  // namespace vantrel::win32
