#include "platform/win32/win32_socket.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

namespace {

constexpr char kClassName[] = "VantrelSocket";
constexpr long kLinkEvents = FD_READ | FD_WRITE | FD_CLOSE;

// A peer's address as the ban list and the prompt show it: dotted for IPv4,
// an IPv4 address mapped into IPv6 included, the usual colon text for IPv6.
std::string AddressText(const sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address->sa_family == AF_INET) {
        inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text,
                  sizeof text);
    } else if (address->sa_family == AF_INET6) {
        const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&v6)) {
            inet_ntop(AF_INET, &v6.s6_addr[12], text, sizeof text);
        } else {
            inet_ntop(AF_INET6, &v6, text, sizeof text);
        }
    }
    return text;
}

long PortOf(const sockaddr* address) {
    if (address->sa_family == AF_INET) {
        return ntohs(reinterpret_cast<const sockaddr_in*>(address)->sin_port);
    }
    if (address->sa_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6*>(address)->sin6_port);
    }
    return 0;
}

std::string SocketErrorText(int code) {
    return ErrorText(static_cast<DWORD>(code));
}

bool SocketFail(std::string* err) {
    if (err) *err = SocketErrorText(WSAGetLastError());
    return false;
}

// What a failed lookup reports: every way of not finding the name is the
// one "no such host" to the user; trouble reaching the resolver keeps its own
// description.
int LookupError(int code) {
    return code == WSANO_DATA || code == 0 ? WSAHOST_NOT_FOUND : code;
}

// The buffers of lookups still unanswered when their socket goes. The
// system may yet write an answer into one (Wine does, cancelled or not), and
// no message will say when once the window has gone, so the process owns
// them to its very end: the keeper is never destroyed, because static
// destructors run while a lookup's thread may still be writing.
void KeepToProcessEnd(std::unique_ptr<char[]> buffer) {
    static std::mutex lock;
    static auto* const kept = new std::vector<std::unique_ptr<char[]>>;
    std::lock_guard<std::mutex> guard(lock);
    kept->push_back(std::move(buffer));
}

// Closes a socket that failed, keeping the failure's code for the caller.
void ClosePreservingError(UniqueSocket& failed) {
    const int code = WSAGetLastError();
    failed.Reset();
    WSASetLastError(code);
}

// The pool's wait for an IPv6 lookup's answer: it hands the lookup to the
// window's thread, which alone touches the socket.
void CALLBACK IPv6LookupAnswered(PVOID lookup, BOOLEAN) {
    auto* answered = static_cast<Win32Socket::IPv6Lookup*>(lookup);
    PostMessageA(answered->window, Win32Socket::kIPv6LookupMessage, 0,
                 reinterpret_cast<LPARAM>(answered));
}

}  // namespace

Win32Socket::~Win32Socket() {
    events_ = nullptr;
    Close();
    for (Lookup& lookup : lookups_) KeepToProcessEnd(std::move(lookup.buffer));
    // The system may still write into an IPv6 lookup and its wait may still
    // post: like the buffers above, they are the process's to its end.
    for (std::unique_ptr<IPv6Lookup>& lookup : ipv6Lookups_) (void)lookup.release();
}

bool Win32Socket::Create(HINSTANCE instance, std::string* err) {
    WSADATA data;
    int code = WSAStartup(MAKEWORD(2, 2), &data);
    if (code != 0) {
        if (err) *err = SocketErrorText(code);
        return false;
    }
    winsock_.Reset(true);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return Fail(err);
    window_.Reset(CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                  nullptr));
    if (!window_.Valid()) return Fail(err);
    SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void Win32Socket::Close() {
    // The lookup of a connection under way is cancelled. Its entry stays
    // until an answer comes, because Wine answers a cancelled lookup all the
    // same and writes into the buffer first; the answer is dropped as stale.
    // Windows never answers one, so its entry (a kilobyte) stays for good.
    for (Lookup& lookup : lookups_) {
        if (lookup.generation == generation_) WSACancelAsyncRequest(lookup.task);
    }
    // Closing the listener leaves a knocking client to be accepted; any
    // other close refuses it.
    if (role_ != Role::kListening) {
        request_.Reset();
        requestPeer_.clear();
        requestPeerPort_ = 0;
    }
    socket_.Reset();
    listener6_.Reset();
    role_ = Role::kIdle;
    peer_.clear();
    peerPort_ = 0;
    unsent_.clear();
    head_ = 0;
    queued_ = sent_ = 0;
    sendEnds_.clear();
    ++generation_;
}

UniqueSocket Win32Socket::NewSocket(int family, long events) const {
    UniqueSocket made(socket(family, SOCK_STREAM, IPPROTO_TCP));
    // Also makes the socket non-blocking.
    if (made.Valid() && WSAAsyncSelect(made.Get(), window_.Get(), kSocketMessage, events) != 0) {
        ClosePreservingError(made);
    }
    return made;
}

UniqueSocket Win32Socket::NewListener(int family, ListenScope scope) const {
    sockaddr_storage address{};
    int size = 0;
    if (family == AF_INET) {
        auto& v4 = reinterpret_cast<sockaddr_in&>(address);
        v4.sin_family = AF_INET;
        v4.sin_addr.s_addr =
            htonl(scope == ListenScope::kThisComputer ? INADDR_LOOPBACK : INADDR_ANY);
        v4.sin_port = htons(static_cast<u_short>(localPort_));
        size = sizeof v4;
    } else {
        auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
        v6.sin6_family = AF_INET6;
        v6.sin6_addr = scope == ListenScope::kThisComputer ? in6addr_loopback : in6addr_any;
        v6.sin6_port = htons(static_cast<u_short>(localPort_));
        size = sizeof v6;
    }
    UniqueSocket listener = NewSocket(family, FD_ACCEPT);
    if (!listener.Valid()) return listener;
    // The IPv4 clients are the other listener's.
    DWORD v6Only = 1;
    if (family == AF_INET6) {
        setsockopt(listener.Get(), IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<char*>(&v6Only),
                   sizeof v6Only);
    }
    if (bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener.Get(), SOMAXCONN) != 0) {
        ClosePreservingError(listener);
    }
    return listener;
}

bool Win32Socket::Listen(ListenScope scope, std::string* err) {
    if (localPort_ < 1 || localPort_ > 65535) {
        if (err) *err = SocketErrorText(WSAEADDRNOTAVAIL);
        return false;
    }
    Close();
    socket_ = NewListener(AF_INET, scope);
    if (!socket_.Valid()) return SocketFail(err);
    // IPv6 clients are a bonus: a system without IPv6, or with the port
    // taken there, still listens on IPv4.
    listener6_ = NewListener(AF_INET6, scope);
    role_ = Role::kListening;
    return true;
}

bool Win32Socket::Accept(long requestId, std::string* err) {
    if (!request_.Valid() || requestId != requestId_) {
        if (err) *err = SocketErrorText(WSAEINVAL);
        return false;
    }
    UniqueSocket taken = std::move(request_);
    std::string peer = std::move(requestPeer_);
    const long port = requestPeerPort_;
    Close();
    socket_ = std::move(taken);
    peer_ = std::move(peer);
    peerPort_ = port;
    role_ = Role::kConnected;
    // The accepted socket has its listener's events; it wants a link's.
    if (WSAAsyncSelect(socket_.Get(), window_.Get(), kSocketMessage, kLinkEvents) != 0) {
        SocketFail(err);
        Close();
        return false;
    }
    return true;
}

bool Win32Socket::Connect(const std::string& host, long port, std::string*) {
    Close();
    role_ = Role::kConnecting;
    if (port < 1 || port > 65535) {
        Defer(Kind::kError, WSAEADDRNOTAVAIL);
        return true;
    }
    connectPort_ = port;
    sockaddr_in v4{};
    sockaddr_in6 v6{};
    if (inet_pton(AF_INET, host.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        ConnectTo(reinterpret_cast<sockaddr*>(&v4), sizeof v4);
        return true;
    }
    if (inet_pton(AF_INET6, host.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        ConnectTo(reinterpret_cast<sockaddr*>(&v6), sizeof v6);
        return true;
    }
    // A name is looked up while the message loop goes on: a slow or missing
    // name server must not freeze the console. The answer comes as
    // kLookupMessage.
    auto buffer = std::make_unique<char[]>(MAXGETHOSTSTRUCT);
    HANDLE task = WSAAsyncGetHostByName(window_.Get(), kLookupMessage, host.c_str(), buffer.get(),
                                        MAXGETHOSTSTRUCT);
    if (!task) {
        Defer(Kind::kError, LookupError(WSAGetLastError()));
        return true;
    }
    lookups_.push_back({task, generation_, std::move(buffer), host});
    return true;
}

void Win32Socket::ConnectTo(sockaddr* address, int size) {
    // The port is the one asked for, whatever a lookup's answer held.
    if (address->sa_family == AF_INET) {
        reinterpret_cast<sockaddr_in*>(address)->sin_port =
            htons(static_cast<u_short>(connectPort_));
    } else {
        reinterpret_cast<sockaddr_in6*>(address)->sin6_port =
            htons(static_cast<u_short>(connectPort_));
    }
    peer_ = AddressText(address);
    peerPort_ = connectPort_;
    socket_ = NewSocket(address->sa_family, FD_CONNECT | kLinkEvents);
    if (!socket_.Valid()) {
        Defer(Kind::kError, WSAGetLastError());
        return;
    }
    if (connect(socket_.Get(), address, size) != 0 && WSAGetLastError() != WSAEWOULDBLOCK) {
        Defer(Kind::kError, WSAGetLastError());
    }
}

void Win32Socket::OnLookup(HANDLE task, int error) {
    // The newest entry first: a handle value may come back for a new lookup
    // while an abandoned one that is never answered still holds it.
    auto it = std::find_if(lookups_.rbegin(), lookups_.rend(),
                           [&](const Lookup& lookup) { return lookup.task == task; });
    if (it == lookups_.rend()) return;
    Lookup lookup = std::move(*it);
    lookups_.erase(std::next(it).base());
    if (lookup.generation != generation_ || role_ != Role::kConnecting) return;  // stale
    const auto* found = reinterpret_cast<const hostent*>(lookup.buffer.get());
    if (error || found->h_addrtype != AF_INET || found->h_length != sizeof(in_addr) ||
        !found->h_addr_list || !found->h_addr_list[0]) {
        // A name with no IPv4 address may still have an IPv6 one.
        if (LookupError(error) == WSAHOST_NOT_FOUND && LookUpIPv6(lookup.host)) return;
        Raise(LookupError(error));
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    std::memcpy(&address.sin_addr, found->h_addr_list[0], sizeof address.sin_addr);
    ConnectTo(reinterpret_cast<sockaddr*>(&address), sizeof address);
}

bool Win32Socket::LookUpIPv6(const std::string& host) {
    auto lookup = std::make_unique<IPv6Lookup>();
    lookup->window = window_.Get();
    lookup->generation = generation_;
    lookup->overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!lookup->overlapped.hEvent) return false;
    ADDRINFOEXW hints{};
    hints.ai_family = AF_INET6;
    hints.ai_socktype = SOCK_STREAM;
    const std::wstring name = Widen(host);
    int started = GetAddrInfoExW(name.c_str(), nullptr, NS_DNS, nullptr, &hints, &lookup->result,
                                 nullptr, &lookup->overlapped, nullptr, nullptr);
    if (started == 0) {
        SetEvent(lookup->overlapped.hEvent);
    } else if (started != WSA_IO_PENDING) {
        CloseHandle(lookup->overlapped.hEvent);
        return false;
    }
    if (!RegisterWaitForSingleObject(&lookup->wait, lookup->overlapped.hEvent, IPv6LookupAnswered,
                                     lookup.get(), INFINITE, WT_EXECUTEONLYONCE)) {
        // Nothing will say when the answer has come: the lookup stays the
        // process's rather than be freed under the system's feet.
        (void)lookup.release();
        return false;
    }
    ipv6Lookups_.push_back(std::move(lookup));
    return true;
}

void Win32Socket::OnIPv6Lookup(IPv6Lookup* answered) {
    auto it = std::find_if(ipv6Lookups_.begin(), ipv6Lookups_.end(),
                           [&](const auto& lookup) { return lookup.get() == answered; });
    if (it == ipv6Lookups_.end()) return;
    std::unique_ptr<IPv6Lookup> lookup = std::move(*it);
    ipv6Lookups_.erase(it);
    // The wait has fired once and posted; waiting for it to be done with
    // the lookup takes no time.
    UnregisterWaitEx(lookup->wait, INVALID_HANDLE_VALUE);
    CloseHandle(lookup->overlapped.hEvent);
    ADDRINFOEXW* found = lookup->result;
    const bool fresh = lookup->generation == generation_ && role_ == Role::kConnecting;
    const bool usable = found && found->ai_family == AF_INET6 && found->ai_addr &&
                        found->ai_addrlen >= sizeof(sockaddr_in6);
    sockaddr_in6 address{};
    if (usable) std::memcpy(&address, found->ai_addr, sizeof address);
    if (found) FreeAddrInfoExW(found);
    if (!fresh) return;  // stale
    if (!usable) {
        Raise(WSAHOST_NOT_FOUND);
        return;
    }
    ConnectTo(reinterpret_cast<sockaddr*>(&address), sizeof address);
}

bool Win32Socket::SendData(const std::string& text, std::string* err) {
    if (role_ != Role::kConnected) {
        if (err) *err = SocketErrorText(WSAENOTCONN);
        return false;
    }
    if (unsent_.size() - head_ + text.size() > kMaxUnsent) {
        Defer(Kind::kError, WSAENOBUFS);
        return true;
    }
    unsent_.append(text);
    queued_ += text.size();
    sendEnds_.push_back(queued_);
    Flush();
    return true;
}

void Win32Socket::Flush() {
    while (head_ < unsent_.size()) {
        int chunk = static_cast<int>(std::min<std::size_t>(unsent_.size() - head_, kMaxRead));
        int n = send(socket_.Get(), unsent_.data() + head_, chunk, 0);
        if (n == SOCKET_ERROR) {
            // Would block: FD_WRITE says when to go on.
            if (WSAGetLastError() != WSAEWOULDBLOCK) Defer(Kind::kError, WSAGetLastError());
            break;
        }
        head_ += static_cast<std::size_t>(n);
        sent_ += static_cast<std::uint64_t>(n);
    }
    if (head_ == unsent_.size()) {
        unsent_.clear();
        head_ = 0;
    } else if (head_ > kMaxRead * 16) {
        unsent_.erase(0, head_);
        head_ = 0;
    }
    while (!sendEnds_.empty() && sendEnds_.front() <= sent_) {
        sendEnds_.pop_front();
        Defer(Kind::kSendComplete);
    }
}

std::size_t Win32Socket::Available() const {
    u_long bytes = 0;
    if (!socket_.Valid() || ioctlsocket(socket_.Get(), FIONREAD, &bytes) != 0) return 0;
    return bytes;
}

std::string Win32Socket::GetData(std::size_t maxBytes) {
    if (role_ != Role::kConnected) return std::string();
    std::string data(std::min(maxBytes, kMaxRead), '\0');
    int n = recv(socket_.Get(), data.data(), static_cast<int>(data.size()), 0);
    data.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return data;
}

std::string Win32Socket::RemoteHostIP() const {
    // While a knocking client's request runs, the listener is already
    // closed: the address asked for is the knocking client's.
    if (role_ == Role::kIdle && request_.Valid()) return requestPeer_;
    return peer_;
}

long Win32Socket::RemotePort() const {
    if (role_ == Role::kIdle && request_.Valid()) return requestPeerPort_;
    return peerPort_;
}

void Win32Socket::Defer(Kind kind, int code) {
    deferred_.push_back({generation_, kind, code});
    PostMessageA(window_.Get(), kDeferredMessage, 0, 0);
}

void Win32Socket::OnDeferred() {
    if (deferred_.empty()) return;
    Deferred d = deferred_.front();
    deferred_.pop_front();
    if (d.generation != generation_ || !events_) return;
    if (d.kind == Kind::kSendComplete) {
        events_->OnSendComplete();
    } else {
        Raise(d.code);
    }
}

void Win32Socket::Raise(int code) {
    if (events_) events_->OnError(code, SocketErrorText(code));
}

void Win32Socket::OnAccept(SOCKET listener) {
    if (role_ != Role::kListening) return;
    sockaddr_storage address{};
    int size = sizeof address;
    request_.Reset(accept(listener, reinterpret_cast<sockaddr*>(&address), &size));
    if (!request_.Valid()) return;
    requestPeer_ = AddressText(reinterpret_cast<sockaddr*>(&address));
    requestPeerPort_ = PortOf(reinterpret_cast<sockaddr*>(&address));
    ++requestId_;
    // The request waits for Accept; a line running meanwhile may hold it
    // till its end.
    if (events_) events_->OnConnectionRequest(requestId_);
}

void Win32Socket::OnRead() {
    if (role_ != Role::kConnected) return;
    std::size_t bytes = Available();
    if (bytes > 0 && events_) events_->OnDataArrival(std::min(bytes, kMaxRead));
}

void Win32Socket::OnPeerClosed(WORD error) {
    if (role_ != Role::kConnected) return;
    // What the peer sent before it closed is still to be read.
    const unsigned generation = generation_;
    for (std::size_t bytes = Available(); bytes > 0 && generation == generation_ && events_;
         bytes = Available()) {
        events_->OnDataArrival(std::min(bytes, kMaxRead));
    }
    if (generation != generation_ || !events_) return;
    if (error) {
        Raise(error);
    } else {
        events_->OnClose();
    }
}

void Win32Socket::OnSocketMessage(SOCKET s, WORD event, WORD error) {
    if (event == FD_ACCEPT && s == listener6_.Get() && listener6_.Valid()) {
        if (!error) OnAccept(s);
        return;
    }
    if (s != socket_.Get()) return;  // a socket closed since
    switch (event) {
        case FD_ACCEPT:
            if (!error) OnAccept(s);
            break;
        case FD_CONNECT:
            if (role_ != Role::kConnecting) break;
            if (error) {
                Raise(error);
            } else {
                role_ = Role::kConnected;
                if (events_) events_->OnConnect();
            }
            break;
        case FD_READ:
            OnRead();
            break;
        case FD_WRITE:
            if (role_ == Role::kConnected) Flush();
            break;
        case FD_CLOSE:
            OnPeerClosed(error);
            break;
        default:
            break;
    }
}

LRESULT CALLBACK Win32Socket::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Socket*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && message == kSocketMessage) {
        self->OnSocketMessage(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam),
                              WSAGETSELECTERROR(lParam));
        return 0;
    }
    if (self && message == kDeferredMessage) {
        self->OnDeferred();
        return 0;
    }
    if (self && message == kIPv6LookupMessage) {
        self->OnIPv6Lookup(reinterpret_cast<IPv6Lookup*>(lParam));
        return 0;
    }
    if (self && message == kLookupMessage) {
        self->OnLookup(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace vantrel::win32
