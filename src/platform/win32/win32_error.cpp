#include "platform/win32/win32_error.h"

#include <winsock2.h>

namespace vantrel::win32 {

namespace {

struct KnownText {
    DWORD code;
    const char* text;
};

// Some systems (Wine among them) carry no message texts for the socket
// errors; these are the ones a link can meet, in the system's own words.
constexpr KnownText kSocketTexts[] = {
    {WSAEACCES,
     "An attempt was made to access a socket in a way forbidden by its access permissions."},
    {WSAEINVAL, "An invalid argument was supplied."},
    {WSAEADDRINUSE,
     "Only one usage of each socket address (protocol/network address/port) is normally "
     "permitted."},
    {WSAEADDRNOTAVAIL, "The requested address is not valid in its context."},
    {WSAENETDOWN, "A socket operation encountered a dead network."},
    {WSAENETUNREACH, "A socket operation was attempted to an unreachable network."},
    {WSAECONNABORTED,
     "An established connection was aborted by the software in your host machine."},
    {WSAECONNRESET, "An existing connection was forcibly closed by the remote host."},
    {WSAENOBUFS,
     "An operation on a socket could not be performed because the system lacked sufficient "
     "buffer space or because a queue was full."},
    {WSAENOTCONN,
     "A request to send or receive data was disallowed because the socket is not "
     "connected."},
    {WSAETIMEDOUT,
     "A connection attempt failed because the connected party did not properly respond after a "
     "period of time, or established connection failed because connected host has failed to "
     "respond."},
    {WSAECONNREFUSED,
     "No connection could be made because the target machine actively refused it."},
    {WSAEHOSTUNREACH, "A socket operation was attempted to an unreachable host."},
    {WSAHOST_NOT_FOUND, "No such host is known."},
    {WSATRY_AGAIN,
     "This is usually a temporary error during hostname resolution and means that the local "
     "server did not receive a response from an authoritative server."},
    {WSANO_DATA, "The requested name is valid, but no data of the requested type was found."},
};

}  // namespace

std::string SystemText(DWORD code) {
    char buffer[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    // The system's messages end with CR LF, which would make a second line.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
}

std::string ErrorText(DWORD code) {
    std::string text = SystemText(code);
    if (!text.empty()) return text;
    for (const KnownText& known : kSocketTexts) {
        if (known.code == code) return known.text;
    }
    return "Error " + std::to_string(code);
}

bool Fail(std::string* err) {
    DWORD code = GetLastError();
    if (err) *err = ErrorText(code);
    return false;
}

}  // namespace vantrel::win32
