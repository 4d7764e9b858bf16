#include "platform/win32/win32_desktop_windows.h"

#include "platform/win32/foreground.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/window_tree.h"

namespace vantrel::win32 {

namespace {

HWND Hwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

// A walk that meets a window list changing under it could loop; no desktop
// holds this many windows.
constexpr int kMaxWindows = 100000;

}  // namespace

std::vector<WindowHandle> Win32DesktopWindows::TopLevelWindows() const {
    std::vector<WindowHandle> windows;
    HWND w = GetWindow(GetDesktopWindow(), GW_CHILD);
    while (w && static_cast<int>(windows.size()) < kMaxWindows) {
        windows.push_back(reinterpret_cast<WindowHandle>(w));
        w = GetWindow(w, GW_HWNDNEXT);
    }
    return windows;
}

std::string Win32DesktopWindows::WindowTitle(WindowHandle window) const {
    return WindowText(Hwnd(window));
}

unsigned long Win32DesktopWindows::WindowProcessId(WindowHandle window) const {
    DWORD pid = 0;
    GetWindowThreadProcessId(Hwnd(window), &pid);
    return pid;
}

bool Win32DesktopWindows::IsVisible(WindowHandle window) const {
    return IsWindowVisible(Hwnd(window)) != FALSE;
}

void Win32DesktopWindows::BringToTop(WindowHandle window) {
    // On top, and in front with the keyboard, as a click on it would leave
    // it; the foreground lock may stand in the way when a script runs
    // FOCUS while the user works in another program.
    BringToForeground(Hwnd(window));
}

void Win32DesktopWindows::RequestClose(WindowHandle window) {
    // Posted, not sent: a window that hangs must not hang the console.
    PostMessageA(Hwnd(window), WM_CLOSE, 0, 0);
}

void Win32DesktopWindows::TerminateProcess(unsigned long processId) {
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (process.Valid()) ::TerminateProcess(process.Get(), 0);
}

}  // namespace vantrel::win32
