// Bringing a window to the foreground past Windows' foreground lock, which
// refuses SetForegroundWindow to a process that did not receive the last
// input and only flashes its taskbar button. The raw calls sit behind
// ForegroundCalls so that the order of the sequence can be tested.
#pragma once

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

class ForegroundCalls {
  public:
    virtual ~ForegroundCalls() = default;
    virtual HWND GetForegroundWindow() = 0;
    // The thread that created the window; 0 for no window.
    virtual DWORD GetWindowThreadProcessId(HWND window) = 0;
    virtual DWORD GetCurrentThreadId() = 0;
    virtual bool IsHungAppWindow(HWND window) = 0;
    virtual bool AttachThreadInput(DWORD from, DWORD to, bool attach) = 0;
    // A press or a release of the Alt key, as if typed.
    virtual void SendAltKey(bool down) = 0;
    virtual bool SetForegroundWindow(HWND window) = 0;
    virtual void BringWindowToTop(HWND window) = 0;
};

// The calls themselves.
class Win32ForegroundCalls : public ForegroundCalls {
  public:
    HWND GetForegroundWindow() override;
    DWORD GetWindowThreadProcessId(HWND window) override;
    DWORD GetCurrentThreadId() override;
    bool IsHungAppWindow(HWND window) override;
    bool AttachThreadInput(DWORD from, DWORD to, bool attach) override;
    void SendAltKey(bool down) override;
    bool SetForegroundWindow(HWND window) override;
    void BringWindowToTop(HWND window) override;
};

// Makes the window the foreground window and tells whether it is, as
// GetForegroundWindow reports afterwards. The calling thread shares the
// foreground thread's input state for the call, as the one that received
// the last input may take the foreground (but never a hung program's: the
// activation messages would then wait on it); a refused attempt is repeated
// once with an Alt key press around it, the input that lifts the lock.
bool BringToForeground(ForegroundCalls& calls, HWND window);
// The same through the calls themselves.
bool BringToForeground(HWND window);

}  // namespace vantrel::win32
