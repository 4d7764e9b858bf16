// Owners for Win32 handles: each closes its handle with the function that
// matches how it was opened.
#pragma once

#include <utility>

// winsock2.h before anything that could bring in the old winsock.h.
// clang-format off
#include <winsock2.h>
#include "platform/win32/win32_api.h"
// clang-format on

namespace vantrel::win32 {

template <typename H, typename Traits>
class Unique {
  public:
    Unique() = default;
    explicit Unique(H h) : h_(h) {}
    ~Unique() { Reset(); }
    Unique(Unique&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) {
            Reset();
            h_ = std::exchange(other.h_, Traits::Invalid());
        }
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    H Get() const { return h_; }
    bool Valid() const { return h_ != Traits::Invalid(); }
    void Reset(H h = Traits::Invalid()) {
        if (Valid()) Traits::Close(h_);
        h_ = h;
    }
    // Gives the handle up without closing it: something else has closed it
    // or will.
    H Detach() { return std::exchange(h_, Traits::Invalid()); }

  private:
    H h_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// CreateFile reports failure as INVALID_HANDLE_VALUE rather than null.
struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
// A folder's change notification fails as a lookup does, and has a close
// of its own.
struct ChangeNotificationTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindCloseChangeNotification(h); }
};
template <typename G>
struct GdiTraits {
    static G Invalid() { return nullptr; }
    static void Close(G g) { DeleteObject(g); }
};
struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};

// The traits of a handle type H that is invalid as kInvalid and closed by
// CloseFn, for the owners that need nothing more.
template <typename H, H kInvalid, auto CloseFn>
struct ClosedBy {
    static H Invalid() { return kInvalid; }
    static void Close(H h) { CloseFn(h); }
};
// Winsock counts its users: the owner of one successful WSAStartup holds
// true and answers it with one WSACleanup.
inline void EndWinsock(bool) {
    WSACleanup();
}

using UniqueHandle = Unique<HANDLE, KernelHandleTraits>;
using UniqueFile = Unique<HANDLE, FileHandleTraits>;
using UniqueFind = Unique<HANDLE, FindHandleTraits>;
using UniqueChangeNotification = Unique<HANDLE, ChangeNotificationTraits>;
// A Toolhelp snapshot fails as CreateFile does, and closes as any handle.
using UniqueSnapshot = Unique<HANDLE, FileHandleTraits>;
using UniqueBrush = Unique<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueFont = Unique<HFONT, GdiTraits<HFONT>>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueRegistryKey = Unique<HKEY, ClosedBy<HKEY, nullptr, RegCloseKey>>;
using UniqueSocket = Unique<SOCKET, ClosedBy<SOCKET, INVALID_SOCKET, closesocket>>;
using UniqueWinsock = Unique<bool, ClosedBy<bool, false, EndWinsock>>;
using UniqueEnvironmentStrings = Unique<char*, ClosedBy<char*, nullptr, FreeEnvironmentStringsA>>;

// A window's device context from GetDC: it goes back to that window, so the
// owner keeps both.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

}  // namespace vantrel::win32
