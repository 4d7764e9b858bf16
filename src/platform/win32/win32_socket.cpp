#include "platform/win32/win32_socket.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/win32/win32_error.h"

namespace vantrel::win32 {

namespace {

constexpr char kClassName[] = "VantrelSocket";
constexpr long kLinkEvents = FD_READ | FD_WRITE | FD_CLOSE;

std::string DottedAddress(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return text;
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

}  // namespace

Win32Socket::~Win32Socket() {
    events_ = nullptr;
    Close();
    for (Lookup& lookup : lookups_) KeepToProcessEnd(std::move(lookup.buffer));
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
    socket_.Reset();
    role_ = Role::kIdle;
    peer_.clear();
    unsent_.clear();
    head_ = 0;
    queued_ = sent_ = 0;
    sendEnds_.clear();
    ++generation_;
}

bool Win32Socket::Open(long events, std::string* err) {
    Close();
    socket_.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket_.Valid()) return SocketFail(err);
    // Also makes the socket non-blocking.
    if (WSAAsyncSelect(socket_.Get(), window_.Get(), kSocketMessage, events) != 0) {
        SocketFail(err);
        Close();
        return false;
    }
    return true;
}

bool Win32Socket::Listen(std::string* err) {
    if (localPort_ < 1 || localPort_ > 65535) {
        if (err) *err = SocketErrorText(WSAEADDRNOTAVAIL);
        return false;
    }
    if (!Open(FD_ACCEPT, err)) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<u_short>(localPort_));
    if (bind(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(socket_.Get(), SOMAXCONN) != 0) {
        SocketFail(err);
        Close();
        return false;
    }
    role_ = Role::kListening;
    return true;
}

bool Win32Socket::Accept(long requestId, std::string* err) {
    if (!request_.Valid() || requestId != requestId_) {
        if (err) *err = SocketErrorText(WSAEINVAL);
        return false;
    }
    Close();
    socket_ = std::move(request_);
    peer_ = requestPeer_;
    role_ = Role::kConnected;
    // The accepted socket has its listener's events; it wants a link's.
    if (WSAAsyncSelect(socket_.Get(), window_.Get(), kSocketMessage, kLinkEvents) != 0) {
        SocketFail(err);
        Close();
        return false;
    }
    return true;
}

bool Win32Socket::Connect(const std::string& host, long port, std::string* err) {
    if (!Open(FD_CONNECT | kLinkEvents, err)) return false;
    role_ = Role::kConnecting;
    if (port < 1 || port > 65535) {
        Defer(Kind::kError, WSAEADDRNOTAVAIL);
        return true;
    }
    connectPort_ = port;
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) == 1) {
        ConnectTo(address);
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
    lookups_.push_back({task, generation_, std::move(buffer)});
    return true;
}

void Win32Socket::ConnectTo(const in_addr& host) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(connectPort_));
    address.sin_addr = host;
    peer_ = DottedAddress(address);
    if (connect(socket_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
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
        Raise(LookupError(error));
        return;
    }
    in_addr address;
    std::memcpy(&address, found->h_addr_list[0], sizeof address);
    ConnectTo(address);
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

void Win32Socket::OnAccept() {
    if (role_ != Role::kListening) return;
    sockaddr_in address{};
    int size = sizeof address;
    request_.Reset(accept(socket_.Get(), reinterpret_cast<sockaddr*>(&address), &size));
    if (!request_.Valid()) return;
    requestPeer_ = DottedAddress(address);
    ++requestId_;
    if (events_) events_->OnConnectionRequest(requestId_);
    // A request the handler did not accept is refused.
    request_.Reset();
    requestPeer_.clear();
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
    if (s != socket_.Get()) return;  // a socket closed since
    switch (event) {
        case FD_ACCEPT:
            if (!error) OnAccept();
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
    if (self && message == kLookupMessage) {
        self->OnLookup(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace vantrel::win32
