#include "platform/win32/foreground.h"

#include <initializer_list>

namespace vantrel::win32 {

namespace {

// One attempt. The input state is always given back: a thread left attached
// to another program's would share its keyboard focus and key states.
void TryForeground(ForegroundCalls& calls, HWND window, bool withAlt) {
    HWND front = calls.GetForegroundWindow();
    DWORD frontThread = front ? calls.GetWindowThreadProcessId(front) : 0;
    DWORD ours = calls.GetCurrentThreadId();
    bool attached = frontThread != 0 && frontThread != ours && !calls.IsHungAppWindow(front) &&
                    calls.AttachThreadInput(ours, frontThread, true);
    // The release comes after the switch, so that it reaches this window
    // and no other program's menu bar opens on it.
    if (withAlt) calls.SendAltKey(true);
    calls.SetForegroundWindow(window);
    calls.BringWindowToTop(window);
    if (withAlt) calls.SendAltKey(false);
    if (attached) calls.AttachThreadInput(ours, frontThread, false);
}

}  // namespace

bool BringToForeground(ForegroundCalls& calls, HWND window) {
    if (calls.GetForegroundWindow() == window) return true;
    // An injected key is input the user did not type: only when it is needed.
    for (bool withAlt : {false, true}) {
        TryForeground(calls, window, withAlt);
        if (calls.GetForegroundWindow() == window) return true;
    }
    return false;
}

bool BringToForeground(HWND window) {
    Win32ForegroundCalls calls;
    return BringToForeground(calls, window);
}

HWND Win32ForegroundCalls::GetForegroundWindow() {
    return ::GetForegroundWindow();
}

DWORD Win32ForegroundCalls::GetWindowThreadProcessId(HWND window) {
    return ::GetWindowThreadProcessId(window, nullptr);
}

DWORD Win32ForegroundCalls::GetCurrentThreadId() {
    return ::GetCurrentThreadId();
}

bool Win32ForegroundCalls::IsHungAppWindow(HWND window) {
    return ::IsHungAppWindow(window) != FALSE;
}

bool Win32ForegroundCalls::AttachThreadInput(DWORD from, DWORD to, bool attach) {
    return ::AttachThreadInput(from, to, attach) != FALSE;
}

void Win32ForegroundCalls::SendAltKey(bool down) {
    INPUT event{};
    event.type = INPUT_KEYBOARD;
    event.ki.wVk = VK_MENU;
    event.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &event, sizeof event);
}

bool Win32ForegroundCalls::SetForegroundWindow(HWND window) {
    return ::SetForegroundWindow(window) != FALSE;
}

void Win32ForegroundCalls::BringWindowToTop(HWND window) {
    ::BringWindowToTop(window);
}

}  // namespace vantrel::win32
